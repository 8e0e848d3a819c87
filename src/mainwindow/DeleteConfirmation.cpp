#include "mainwindow/DeleteConfirmation.h"

#include "mainwindow/MainWindowModel.h"

namespace velloria {

namespace {

constexpr int kFolderText = 322;
constexpr int kBookmarkText = 323;

std::string itemLine(const MainWindowModel& model, std::string_view name, int kind, bool inside)
{
    return std::string(inside ? "  " : "") + std::string(name) + " (" + model.texts()[kind] + ")";
}

} // namespace

DeleteConfirmation::DeleteConfirmation(MainWindowModel& model)
    : m_model(model), m_folderMode(model.selection().focus() == Pane::Tree)
{
    if (!m_folderMode && model.filter().active()) {
        for (const LibraryLink& link : model.filter().selectedLinks())
            m_lines.push_back(lineOf(model, link));
        m_yes = [&model] { model.filter().deleteSelected(); };
        return;
    }
    if (!m_folderMode) {
        for (std::size_t row : model.selection().selectedRows())
            m_lines.push_back(itemLine(model, model.library().linkList()[row].Title, kBookmarkText, false));
        return;
    }
    const TFolderTree& tree = model.library().folderTree();
    const std::size_t folder = model.tree().selectedFolder();
    if (folder == MainWindowModel::npos)
        return;
    m_lines.push_back(itemLine(model, tree[folder].Name, kFolderText, false));
    // A folder with subfolders lists them; one without lists its links.
    for (std::size_t row = 0; row < tree.childCount(folder); ++row)
        m_lines.push_back(itemLine(model, tree[tree.childAt(folder, row)].Name, kFolderText, true));
    if (tree.childCount(folder) == 0)
        for (const TLinkRecord& link : model.library().linkList())
            m_lines.push_back(itemLine(model, link.Title, kBookmarkText, true));
}

std::string DeleteConfirmation::lineOf(const MainWindowModel& model, const LibraryLink& link)
{
    return folderPath(model.library().folderTree(), link.folder) + ": " + std::string(link.link.Title) + " ("
         + model.texts()[kBookmarkText] + ")";
}

DeleteConfirmation::DeleteConfirmation(MainWindowModel& model, std::vector<std::string> lines, std::function<void()> yes)
    : m_model(model), m_lines(std::move(lines)), m_yes(std::move(yes))
{
}

void DeleteConfirmation::setDontShowAgain(bool checked)
{
    m_model.preferences().record().ConfirmDeleting = !checked;
}

bool DeleteConfirmation::dontShowAgain() const
{
    return !m_model.prefs().ConfirmDeleting;
}

void DeleteConfirmation::yes()
{
    if (m_yes)
        m_yes();
    else if (m_folderMode)
        m_model.deleting().deleteSelectedFolder();
    else
        m_model.deleting().deleteSelectedLinks();
}

} // namespace velloria
