// Moving folders and links up and down, and dropping a folder onto another. Every move is
// written at once, so that it is never lost to a folder change before the next write.

#include "mainwindow/Reordering.h"

#include "mainwindow/MainWindowModel.h"

namespace velloria {

namespace {

constexpr std::size_t npos = MainWindowModel::npos;

} // namespace

void Reordering::EditMoveUpExecute()
{
    if (m_model.m_selection.focus() == Pane::Tree)
        moveFolder(true);
    else if (m_model.m_selection.focus() == Pane::List)
        moveLinks(true);
}

void Reordering::EditMoveDownExecute()
{
    if (m_model.m_selection.focus() == Pane::Tree)
        moveFolder(false);
    else if (m_model.m_selection.focus() == Pane::List)
        moveLinks(false);
}

void Reordering::moveFolder(bool up)
{
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos)
        return;
    TFolderTree& tree = m_model.m_library.folderTree();
    const std::size_t parent = tree.parentOf(folder);
    const std::size_t row = tree.rowOf(folder);
    if (up ? row == 0 : row + 1 >= tree.childCount(parent))
        return;
    const std::size_t destination = up ? row - 1 : row + 2; // before the sibling it then precedes
    m_model.notify([=](MainWindowObserver& o) { o.folderAboutToBeMoved(folder, parent, destination); });
    if (up)
        tree.moveBefore(folder, tree.childAt(parent, row - 1));
    else
        tree.moveAfter(folder, tree.childAt(parent, row + 1));
    m_model.notify([](MainWindowObserver& o) { o.folderMoved(); });
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    m_model.m_library.SaveFolderTree(kWorkingTreeFile);
    m_model.m_lifecycle.libraryChanged();
}

void Reordering::moveLinks(bool up)
{
    const std::size_t folder = m_model.selectedFolder();
    const std::vector<std::size_t> rows = m_model.m_selection.selectedRows();
    if (folder == npos || rows.empty() || (up ? rows.front() == 0 : rows.back() + 1 == m_model.linkList().size()))
        return;
    auto& links = m_model.m_library.linkList();
    auto& descriptions = m_model.m_library.linkDescriptions();
    descriptions.resize(std::max(descriptions.size(), links.size()));
    // Each selected row changes places with its neighbour, so a block moves as a block: the
    // view hears of each run of neighbouring rows as one move.
    std::vector<std::size_t> moved;
    const auto swapWithNeighbour = [&](std::size_t row) {
        const std::size_t other = up ? row - 1 : row + 1;
        std::swap(links[row], links[other]);
        std::swap(descriptions[row], descriptions[other]);
        moved.push_back(other);
    };
    for (std::size_t begin = 0; begin < rows.size();) {
        std::size_t end = begin + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1)
            ++end;
        const std::size_t first = rows[begin];
        const std::size_t last = rows[end - 1];
        const std::size_t destination = up ? first - 1 : last + 2;
        m_model.notify([=](MainWindowObserver& o) { o.linkRowsAboutToBeMoved(first, last, destination); });
        for (std::size_t i = 0; i < end - begin; ++i)
            swapWithNeighbour(rows[up ? begin + i : end - 1 - i]);
        m_model.notify([](MainWindowObserver& o) { o.linkRowsMoved(); });
        begin = end;
    }
    std::sort(moved.begin(), moved.end());
    m_model.setRowSelection(moved, moved.front());
    m_model.m_library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    m_model.m_lifecycle.libraryChanged();
}

bool Reordering::trvFoldersDragOver(std::size_t dragged, std::size_t target) const
{
    return dragged < m_model.folderTree().count() && target < m_model.folderTree().count()
        && !m_model.folderTree().isInSubtree(target, dragged);
}

void Reordering::trvFoldersDragDrop(std::size_t dragged, std::size_t target)
{
    if (!trvFoldersDragOver(dragged, target))
        return;
    TFolderTree& tree = m_model.m_library.folderTree();
    const auto targetId = tree.idOf(target);
    // Dropped on its own parent as the first child already, it stays where it is.
    const bool stays = tree.parentOf(dragged) == target && tree.rowOf(dragged) == 0;
    if (!stays)
        m_model.notify([=](MainWindowObserver& o) { o.folderAboutToBeMoved(dragged, target, 0); });
    tree.moveToFirstChild(dragged, target);
    if (!stays)
        m_model.notify([](MainWindowObserver& o) { o.folderMoved(); });
    const std::size_t targetNow = tree.indexOf(targetId);
    tree.setExpanded(targetNow, true);
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    m_model.selectFolder(targetNow);
    m_model.m_library.SaveFolderTree(kWorkingTreeFile);
    m_model.m_lifecycle.libraryChanged();
}

} // namespace velloria
