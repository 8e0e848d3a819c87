// Moving folders and links up and down, dropping a folder onto another and links onto a folder.
// Every move is written at once, so that it is never lost to a folder change before the next write.

#include "mainwindow/Reordering.h"

#include "mainwindow/FolderRows.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "store/FolderNames.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

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

// The links selected in the list shown (the filter's or the folder's), where they are, and
// their descriptions.
std::vector<LibraryLink> Reordering::selectedLinks(std::vector<std::string>* descriptions) const
{
    if (m_model.m_filter.active())
        return m_model.m_filter.selectedLinks(descriptions);
    std::vector<LibraryLink> links;
    if (const std::size_t folder = m_model.selectedFolder(); folder != npos) {
        const std::vector<std::string>& stored = m_model.m_library.linkDescriptions();
        for (const std::size_t row : m_model.m_selection.selectedRows()) {
            const TLinkRecord& link = m_model.linkList()[row];
            links.push_back({.folder = folder, .row = row, .link = {link.Title, link.Address, link.LastVisit, link.AddDate}});
            if (descriptions)
                descriptions->push_back(row < stored.size() ? stored[row] : "");
        }
    }
    return links;
}

bool Reordering::linksDragOver(std::size_t target) const
{
    if (target >= m_model.folderTree().count())
        return false;
    const std::vector<LibraryLink> links = selectedLinks(nullptr);
    return std::any_of(links.begin(), links.end(), [target](const LibraryLink& link) { return link.folder != target; });
}

std::size_t Reordering::dropLinks(std::size_t target, bool copy)
{
    Library& library = m_model.m_library;
    const TFolderTree& tree = m_model.folderTree();
    if (target >= tree.count())
        return 0;
    std::vector<std::string> descriptions;
    const std::vector<LibraryLink> links = selectedLinks(&descriptions);
    FolderRows into = folderRows(library, tree[target].Name);
    if (!into.usable) // writing it would cut off what was not read
        throw Error(filledIn(m_model.texts()[text::DropTargetDamaged], folderPath(tree, target)));
    into.descriptions.resize(into.links.size());
    UniqueNames titles;
    for (const TLinkRecord& link : into.links)
        titles.add(link.Title);
    // Folder by folder, the links are found in their files and go to the target's rows.
    std::vector<std::size_t> order(links.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return links[a].folder < links[b].folder; });
    StagedWrites batch;
    std::vector<std::size_t> listRowsGone;
    const std::size_t before = into.links.size();
    for (auto begin = order.begin(); begin != order.end();) {
        const std::size_t folder = links[*begin].folder;
        const auto end = std::find_if(begin, order.end(), [&](std::size_t i) { return links[i].folder != folder; });
        if (folder != target) {
            FolderRows from = folderRows(library, tree[folder].Name);
            std::vector<bool> taken(from.links.size());
            for (auto it = begin; it != end && from.usable; ++it)
                if (const std::size_t row = findLinkRow(from.links, links[*it].link, links[*it].row, taken); row != npos) {
                    taken[row] = true;
                    into.links.push_back(from.links[row]);
                    into.links.back().Title = titles.take(from.links[row].Title);
                    into.descriptions.push_back(descriptions[*it]);
                }
            if (!copy && std::find(taken.begin(), taken.end(), true) != taken.end())
                takeOut(folder, from, taken, batch, listRowsGone);
        }
        begin = end;
    }
    if (into.links.size() == before)
        return 0;
    batch.stage(library.paths().linkFilePath(tree[target].Name, kWorkingLinkExt),
                writeLinkFile(into.links, into.descriptions));
    batch.commit();
    showDropped(target, into, before, listRowsGone);
    return into.links.size() - before;
}

// Stages the folder's file without the rows taken; those of the list shown are noted.
void Reordering::takeOut(std::size_t folder, FolderRows& from, const std::vector<bool>& taken, StagedWrites& batch,
                         std::vector<std::size_t>& listRowsGone) const
{
    TLinkList kept;
    std::vector<std::string> keptDescriptions;
    from.descriptions.resize(from.links.size());
    for (std::size_t row = 0; row < from.links.size(); ++row) {
        if (!taken[row]) {
            kept.push_back(std::move(from.links[row]));
            keptDescriptions.push_back(std::move(from.descriptions[row]));
        } else if (from.inList) {
            listRowsGone.push_back(row);
        }
    }
    const std::string& name = m_model.folderTree()[folder].Name;
    batch.stage(m_model.m_library.paths().linkFilePath(name, kWorkingLinkExt), writeLinkFile(kept, keptDescriptions));
}

// After a drop, its files written: the list shown hears of its rows gone and added, and the
// target is shown with the links dropped selected, in the filter's rows too when it is on.
void Reordering::showDropped(std::size_t target, const FolderRows& into, std::size_t before,
                             const std::vector<std::size_t>& listRowsGone)
{
    if (!listRowsGone.empty())
        m_model.removeRows(listRowsGone);
    if (into.inList) {
        const std::size_t first = m_model.linkList().size();
        const std::size_t last = first + into.links.size() - before - 1;
        m_model.notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(first, last); });
        for (std::size_t i = before; i < into.links.size(); ++i) {
            const TLinkRecord& link = into.links[i];
            m_model.insertRow(m_model.linkList().size(), {.Title = link.Title, .Address = link.Address,
                                                           .LastVisit = link.LastVisit, .AddDate = link.AddDate,
                                                           .Description = into.descriptions[i]});
        }
        m_model.notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
    }
    m_model.m_lifecycle.libraryChanged();
    if (m_model.selectedFolder() != target)
        m_model.selectFolder(target);
    else
        m_model.m_list.SortLinkList();
    std::unordered_set<std::string_view> titles; // unique in the target, so they name the links
    for (std::size_t i = before; i < into.links.size(); ++i)
        titles.insert(into.links[i].Title);
    const auto dropped = [&](std::string_view title) { return titles.contains(title); };
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < m_model.linkList().size(); ++row)
        if (dropped(m_model.linkList()[row].Title))
            rows.push_back(row);
    m_model.setRowSelection(rows, rows.empty() ? npos : rows.front());
    m_model.updateStatusBar();
    if (!m_model.m_filter.active())
        return;
    std::vector<std::size_t> shown;
    for (std::size_t row = 0; row < m_model.m_filter.rowCount(); ++row)
        if (m_model.m_filter.link(row).folder == target && dropped(m_model.m_filter.link(row).link.Title))
            shown.push_back(row);
    m_model.m_filter.selectRows(shown, shown.empty() ? npos : shown.front());
    m_model.notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
}

} // namespace velloria
