// Moving folders and links up and down, and dropping a folder onto another. Every move is
// written at once, so that it is never lost to a folder change before the next write.

#include "mainwindow/MainWindowModel.h"

namespace velloria {

void MainWindowModel::EditMoveUpExecute()
{
    if (m_focus == Pane::Tree)
        moveFolder(true);
    else if (m_focus == Pane::List)
        moveLinks(true);
}

void MainWindowModel::EditMoveDownExecute()
{
    if (m_focus == Pane::Tree)
        moveFolder(false);
    else if (m_focus == Pane::List)
        moveLinks(false);
}

void MainWindowModel::moveFolder(bool up)
{
    const std::size_t folder = selectedFolder();
    if (folder == npos)
        return;
    TFolderTree& tree = m_library.folderTree();
    const std::size_t parent = tree.parentOf(folder);
    const std::size_t row = tree.rowOf(folder);
    if (up ? row == 0 : row + 1 >= tree.childCount(parent))
        return;
    notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    if (up)
        tree.moveBefore(folder, tree.childAt(parent, row - 1));
    else
        tree.moveAfter(folder, tree.childAt(parent, row + 1));
    notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    m_library.SaveFolderTree(kWorkingTreeFile);
    libraryChanged();
}

void MainWindowModel::moveLinks(bool up)
{
    const std::size_t folder = selectedFolder();
    const std::vector<std::size_t> rows = selectedRows();
    if (folder == npos || rows.empty() || (up ? rows.front() == 0 : rows.back() + 1 == linkList().size()))
        return;
    auto& links = m_library.linkList();
    auto& descriptions = m_library.linkDescriptions();
    descriptions.resize(std::max(descriptions.size(), links.size()));
    // Each selected row changes places with its neighbour, so a block moves as a block.
    std::vector<std::size_t> moved;
    const auto swapWithNeighbour = [&](std::size_t row) {
        const std::size_t other = up ? row - 1 : row + 1;
        std::swap(links[row], links[other]);
        std::swap(descriptions[row], descriptions[other]);
        moved.push_back(other);
    };
    if (up)
        std::for_each(rows.begin(), rows.end(), swapWithNeighbour);
    else
        std::for_each(rows.rbegin(), rows.rend(), swapWithNeighbour);
    std::sort(moved.begin(), moved.end());
    listChanged();
    setRowSelection(moved, moved.front());
    m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    libraryChanged();
}

bool MainWindowModel::trvFoldersDragOver(std::size_t dragged, std::size_t target) const
{
    return dragged < folderTree().count() && target < folderTree().count()
        && !folderTree().isInSubtree(target, dragged);
}

void MainWindowModel::trvFoldersDragDrop(std::size_t dragged, std::size_t target)
{
    if (!trvFoldersDragOver(dragged, target))
        return;
    TFolderTree& tree = m_library.folderTree();
    const auto targetId = tree.idOf(target);
    notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    tree.moveToFirstChild(dragged, target);
    const std::size_t targetNow = tree.indexOf(targetId);
    tree.setExpanded(targetNow, true);
    notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    selectFolder(targetNow);
    m_library.SaveFolderTree(kWorkingTreeFile);
    libraryChanged();
}

} // namespace velloria
