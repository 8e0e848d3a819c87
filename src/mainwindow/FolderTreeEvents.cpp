// The folder tree's events and the commands that expand and collapse its folders.

#include "mainwindow/FolderTreeEvents.h"

#include "base/Error.h"
#include "mainwindow/MainWindowModel.h"

#include <optional>

namespace velloria {

std::size_t FolderTreeEvents::selectedFolder() const
{
    return m_model.folderTree().selectedIndex();
}

bool FolderTreeEvents::listShows(std::size_t folder) const
{
    const TFolderTree& tree = m_model.folderTree();
    return folder < tree.count() && m_model.m_library.linkListHolds(tree[folder].Name);
}

void FolderTreeEvents::selectFolder(std::size_t index)
{
    MainWindowModel& m = m_model;
    const MainWindowModel::CommandsUpdate update(m);
    TFolderTree& tree = m.m_library.folderTree();
    tree.select(index);
    // A selected folder is made visible, as a tree control does: its ancestors are expanded.
    for (std::size_t parent = index == npos ? npos : tree.parentOf(index); parent != npos; parent = tree.parentOf(parent))
        tree.setExpanded(parent, true);
    m.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    m.m_flags.FolderShownOnce = true;
    if (tree.empty() || m.m_flags.ClosingInProgress || index == npos)
        return;
    std::optional<Error> loadError;
    m.notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    // The list is read also when the description cannot be: it must hold this folder's links.
    try {
        m.m_library.ShowFolderDescription(tree[index].Name);
    } catch (const Error& error) {
        loadError = error;
    }
    try {
        m.m_library.LoadLinkFile(tree[index].Name);
    } catch (const Error& error) {
        loadError = loadError.value_or(error);
    }
    m.m_selection.select({}, npos, m.linkList().size());
    m.notify([](MainWindowObserver& o) { o.linkListReset(); });
    m.showFolderDescription();
    try {
        m.m_list.SortLinkList();
    } catch (const Error& error) {
        loadError = loadError.value_or(error);
    }
    if (!m.linkList().empty())
        m.setRowSelection({0}, 0);
    m.updateStatusBar();
    if (loadError)
        throw *loadError;
}

void FolderTreeEvents::trvFoldersEnter()
{
    MainWindowModel& m = m_model;
    const MainWindowModel::CommandsUpdate update(m);
    m.m_selection.setFocus(Pane::Tree);
    // A tree control that takes the focus with no folder selected selects its first folder.
    if (!m.folderTree().empty() && selectedFolder() == npos)
        selectFolder(0);
    m.m_flags.TreeHadFocus = true;
    // Until a folder change, the window shows what the start showed.
    if (!m.m_flags.FolderShownOnce || m.folderTree().empty())
        return;
    m.showFolderDescription();
    if (!m.linkList().empty() && m.m_selection.selectedRow() == npos)
        m.setRowSelection({0}, 0);
}

void FolderTreeEvents::trvFoldersExit()
{
    if (m_model.m_selection.focus() == Pane::Tree)
        m_model.m_selection.setFocus(Pane::None);
    m_model.updateCommands();
}

void FolderTreeEvents::trvFoldersMouseDown(std::size_t indexUnderPointer)
{
    const TFolderTree& tree = m_model.folderTree();
    if (!tree.empty() && indexUnderPointer < tree.count() && indexUnderPointer != selectedFolder())
        selectFolder(indexUnderPointer);
}

void FolderTreeEvents::trvFoldersClick()
{
    if (m_model.folderTree().empty() || selectedFolder() == npos)
        return;
    m_model.m_library.ShowFolderDescription(m_model.folderTree()[selectedFolder()].Name);
    m_model.showFolderDescription();
}

void FolderTreeEvents::setFolderExpanded(std::size_t index, bool expanded)
{
    m_model.m_library.folderTree().setExpanded(index, expanded);
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
}

void FolderTreeEvents::expandAllFolders()
{
    TFolderTree& tree = m_model.m_library.folderTree();
    for (std::size_t i = 0; i < tree.count(); ++i)
        tree.setExpanded(i, true);
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
}

void FolderTreeEvents::collapseAllFolders()
{
    m_model.requestFocus(Pane::Tree);
    TFolderTree& tree = m_model.m_library.folderTree();
    if (!tree.empty() && selectedFolder() != 0)
        selectFolder(0);
    for (std::size_t i = tree.count(); i-- > 0;)
        tree.setExpanded(i, false);
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
}

} // namespace velloria
