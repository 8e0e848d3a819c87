#include "mainwindow/MainWindowModel.h"

#include "store/Error.h"

#include <optional>

namespace velloria {

namespace {

// Captions of the description pane and the status bar.
constexpr const char* kDescriptionCaption = "Description:";
constexpr const char* kFoldersCaption = "Folders:";
constexpr const char* kBookmarksCaption = "Bookmarks:";

} // namespace

MainWindowModel::MainWindowModel(std::filesystem::path home, const Clock& clock) : m_library(std::move(home), clock)
{
    m_statusPanels[2] = std::string(kFoldersCaption) + ' ';
    m_statusPanels[3] = std::string(kBookmarksCaption) + ' ';
}

template <typename Notice> void MainWindowModel::notify(Notice notice)
{
    if (m_observer)
        notice(*m_observer);
}

void MainWindowModel::loadLibrary(RestoreFolderStates restore)
{
    std::optional<Error> loadError;
    notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    try {
        m_library.OpenLibrary(restore);
    } catch (const Error& error) {
        loadError = error;
    }
    notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    // With no remembered selection the first folder is selected, as a tree control does when
    // it takes the focus.
    if (!folderTree().empty()) {
        try {
            selectFolder(selectedFolder() != npos ? selectedFolder() : 0);
        } catch (const Error& error) {
            loadError = Error(loadError ? std::string(loadError->what()) + "\n" + error.what() : error.what());
        }
    }
    if (loadError)
        throw *loadError;
}

void MainWindowModel::saveLibrary()
{
    m_library.SaveLibrary();
    m_libraryModified = false;
}

void MainWindowModel::revertLibrary()
{
    m_library.RevertLibrary(m_newFolders);
}

void MainWindowModel::selectFolder(std::size_t index)
{
    std::optional<Error> loadError;
    m_library.folderTree().select(index);
    notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    m_library.linkList().clear();
    m_library.linkDescriptions().clear();
    if (index != npos) {
        try {
            m_library.ShowFolderDescription(folderTree()[index].Name);
            m_library.LoadLinkFile(folderTree()[index].Name);
        } catch (const Error& error) {
            loadError = error;
        }
    }
    m_rowSelected.assign(linkList().size(), 0);
    m_focusedRow = npos;
    notify([](MainWindowObserver& o) { o.linkListReset(); });
    showFolderDescription();
    if (!linkList().empty())
        selectRows({0}, 0);
    updateStatusBar();
    if (loadError)
        throw *loadError;
}

void MainWindowModel::setFolderExpanded(std::size_t index, bool expanded)
{
    m_library.folderTree().setExpanded(index, expanded);
    notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
}

void MainWindowModel::selectRows(const std::vector<std::size_t>& rows, std::size_t focusedRow)
{
    m_rowSelected.assign(linkList().size(), 0);
    for (std::size_t row : rows)
        if (row < m_rowSelected.size())
            m_rowSelected[row] = 1;
    m_focusedRow = focusedRow < linkList().size() ? focusedRow : npos;
    notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
    if (m_listHasFocus)
        showRowDescription();
    updateStatusBar();
}

void MainWindowModel::setListHasFocus(bool listHasFocus)
{
    m_listHasFocus = listHasFocus;
    if (listHasFocus)
        showRowDescription();
    else
        showFolderDescription();
}

void MainWindowModel::showFolderDescription()
{
    const bool hasFolder = selectedFolder() != npos;
    m_descriptionText = std::string(kDescriptionCaption) + ' ' + (hasFolder ? m_library.folderDescription() : "");
    notify([](MainWindowObserver& o) { o.descriptionChanged(); });
}

void MainWindowModel::showRowDescription()
{
    if (m_focusedRow == npos)
        return;
    const auto& descriptions = linkDescriptions();
    m_descriptionText = std::string(kDescriptionCaption) + ' '
        + (m_focusedRow < descriptions.size() ? descriptions[m_focusedRow] : std::string());
    notify([](MainWindowObserver& o) { o.descriptionChanged(); });
}

void MainWindowModel::updateStatusBar()
{
    const std::size_t folder = selectedFolder();
    m_statusPanels[0] = folder == npos ? "" : folderTree()[folder].Name;
    m_statusPanels[1] = m_focusedRow == npos ? "" : linkList()[m_focusedRow].Title;
    m_statusPanels[2] = std::string(kFoldersCaption) + ' ' + (folder == npos ? "" : std::to_string(folderTree().childCount(folder)));
    m_statusPanels[3] = std::string(kBookmarksCaption) + ' ' + (folder == npos ? "" : std::to_string(linkList().size()));
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

} // namespace velloria
