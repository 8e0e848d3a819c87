// Deleting folders and links, and the undo of the last deletion.

#include "mainwindow/UndoDeleting.h"

#include "base/Text.h"
#include "mainwindow/FolderRows.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "store/FolderNames.h"

#include <algorithm>

namespace velloria {

namespace {

constexpr std::size_t npos = MainWindowModel::npos;

} // namespace

void UndoDeleting::SaveUndoState(bool isFolder, const std::string& folderName)
{
    m_undo.UndoIsFolder = isFolder;
    m_undo.UndoFolderName = folderName;
    Library& library = m_model.m_library;
    const TFolderTree& tree = m_model.folderTree();
    if (isFolder) {
        discardFolderSnapshot(library, m_undo, KeepSnapshot::Empty);
        m_undo.UndoFolderSnapshot.emplace();
        const std::size_t folder = m_model.selectedFolder();
        const auto& descriptions = library.folderDescriptions();
        StagedWrites copies;
        for (std::size_t i = folder; i < tree.subtreeEnd(folder); ++i) {
            const std::size_t parent = tree.parentOf(i);
            const auto it = descriptions.find(tree[i].Name);
            m_undo.UndoFolderSnapshot->push_back(
                {.Name = tree[i].Name, .ParentName = parent == npos ? "" : tree[parent].Name,
                 .Description = i == folder ? library.folderDescription()
                                            : (it == descriptions.end() ? "" : it->second)});
            SaveUndoLinkFile(library, tree[i].Name, copies);
        }
        copies.commit();
    } else {
        m_undo.UndoLinkSnapshot.emplace();
        const auto& descriptions = m_model.m_library.linkDescriptions();
        for (std::size_t row : m_model.m_selection.selectedRows()) {
            const TLinkRecord& link = m_model.linkList()[row];
            m_undo.UndoLinkSnapshot->push_back({.Title = link.Title, .Address = link.Address,
                                                .LastVisit = link.LastVisit, .AddDate = link.AddDate,
                                                .Description = row < descriptions.size() ? descriptions[row] : "",
                                                .Index = row});
        }
    }
    m_undo.UndoLinksOfFolders.reset();
    m_model.setUndoAvailable(true);
}

std::size_t UndoDeleting::deleteLinks(const std::vector<LibraryLink>& links)
{
    Library& library = m_model.m_library;
    const TFolderTree& tree = m_model.folderTree();
    std::vector<const LibraryLink*> ordered;
    for (const LibraryLink& link : links)
        if (link.folder < tree.count())
            ordered.push_back(&link);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const LibraryLink* a, const LibraryLink* b) { return a->folder < b->folder; });
    // Every file is written before the list changes, so that a failure leaves the window as it was.
    std::vector<UndoFolderLinks> taken;
    std::vector<std::size_t> listRows;
    StagedWrites batch;
    for (auto begin = ordered.begin(); begin != ordered.end();) {
        const std::size_t folder = (*begin)->folder;
        const auto end = std::find_if(begin, ordered.end(), [folder](const LibraryLink* l) { return l->folder != folder; });
        FolderRows rows = folderRows(library, tree[folder].Name);
        std::vector<bool> gone(rows.links.size());
        std::vector<std::size_t> found;
        for (auto it = begin; it != end && rows.usable; ++it)
            if (const std::size_t row = findLinkRow(rows.links, (*it)->link, (*it)->row, gone); row != npos) {
                gone[row] = true;
                found.push_back(row);
            }
        begin = end;
        if (found.empty())
            continue;
        std::sort(found.begin(), found.end());
        UndoFolderLinks entry{.Folder = tree.idOf(folder)};
        TLinkList kept;
        std::vector<std::string> keptDescriptions;
        for (std::size_t row = 0; row < rows.links.size(); ++row) {
            TLinkRecord& link = rows.links[row];
            if (gone[row])
                entry.Links.push_back({.Title = link.Title, .Address = link.Address, .LastVisit = link.LastVisit,
                                       .AddDate = link.AddDate, .Description = rows.descriptions[row], .Index = row});
            else {
                kept.push_back(std::move(link));
                keptDescriptions.push_back(std::move(rows.descriptions[row]));
            }
        }
        batch.stage(library.paths().linkFilePath(tree[folder].Name, kWorkingLinkExt), writeLinkFile(kept, keptDescriptions));
        if (rows.inList)
            listRows = std::move(found);
        taken.push_back(std::move(entry));
    }
    if (taken.empty())
        return 0;
    batch.commit();
    if (!listRows.empty()) {
        const std::size_t remembered = m_model.m_selection.selectedRow();
        m_model.removeRows(listRows);
        afterRowsRemoved(remembered == npos ? 0 : remembered);
    }
    std::size_t count = 0;
    for (const UndoFolderLinks& entry : taken)
        count += entry.Links.size();
    m_undo.UndoIsFolder = false;
    m_undo.UndoFolderName.clear();
    m_undo.UndoLinkSnapshot.reset();
    m_undo.UndoLinksOfFolders = std::move(taken);
    m_model.setUndoAvailable(true);
    m_model.m_lifecycle.libraryChanged();
    return count;
}

// Puts the links of a deletion over several folders back, each at its row, the files written as
// one batch before the list changes.
void UndoDeleting::restoreLinksOfFolders()
{
    Library& library = m_model.m_library;
    const TFolderTree& tree = m_model.folderTree();
    const std::vector<UndoLinkEntry>* listEntries = nullptr;
    StagedWrites batch;
    for (const UndoFolderLinks& entry : *m_undo.UndoLinksOfFolders) {
        const std::size_t folder = tree.indexOf(entry.Folder);
        if (folder == npos)
            continue;
        FolderRows rows = folderRows(library, tree[folder].Name);
        if (!rows.usable)
            continue; // a file damaged since: writing it would cut off its rest
        for (const UndoLinkEntry& link : entry.Links) {
            const auto at = static_cast<std::ptrdiff_t>(std::min(link.Index, rows.links.size()));
            rows.links.insert(rows.links.begin() + at, {link.Title, link.Address, link.LastVisit, link.AddDate});
            rows.descriptions.insert(rows.descriptions.begin() + at, link.Description);
        }
        batch.stage(library.paths().linkFilePath(tree[folder].Name, kWorkingLinkExt),
                    writeLinkFile(rows.links, rows.descriptions));
        if (rows.inList)
            listEntries = &entry.Links;
    }
    batch.commit();
    if (!listEntries)
        return;
    std::vector<std::size_t> restored;
    for (const UndoLinkEntry& link : *listEntries) {
        const std::size_t row = std::min(link.Index, m_model.linkList().size());
        m_model.notify([row](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(row, row); });
        m_model.insertRow(row, link);
        m_model.notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
        restored.push_back(row);
    }
    m_model.setRowSelection(restored, restored.front());
    m_model.requestFocus(Pane::List);
    m_model.updateStatusBar();
}

void UndoDeleting::deleteSelectedFolder()
{
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos)
        return;
    const TFolderTree& tree = m_model.folderTree();
    SaveUndoState(true, tree[folder].Name);
    // The tree control selects the next sibling of a deleted folder, else the previous one,
    // else the parent.
    const std::size_t parent = tree.parentOf(folder);
    const std::size_t row = tree.rowOf(folder);
    const std::size_t siblings = tree.childCount(parent);
    const auto nextId = row + 1 < siblings ? tree.idOf(tree.childAt(parent, row + 1))
                      : row > 0            ? tree.idOf(tree.childAt(parent, row - 1))
                      : parent != npos     ? tree.idOf(parent)
                                           : 0;
    m_model.notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    m_model.m_library.clearLinkList();
    m_model.notify([](MainWindowObserver& o) { o.linkListReset(); });
    m_model.notify([folder](MainWindowObserver& o) { o.folderAboutToBeRemoved(folder); });
    m_model.m_library.folderTree().removeSubtree(folder);
    m_model.notify([](MainWindowObserver& o) { o.folderRemoved(); });
    m_model.folderNodesRemoved();
    m_model.m_library.SaveFolderTree(kWorkingTreeFile);
    m_model.m_library.PurgeDeletedFolders();
    m_model.m_lifecycle.libraryChanged();
    if (tree.empty()) {
        m_model.updateCommands();
        return;
    }
    m_model.selectFolder(tree.indexOf(nextId));
}

void UndoDeleting::deleteSelectedLinks()
{
    const std::size_t folder = m_model.selectedFolder();
    const std::size_t remembered = m_model.m_selection.selectedRow();
    if (folder == npos || remembered == npos)
        return;
    SaveUndoState(false, m_model.folderTree()[folder].Name);
    m_model.removeRows(m_model.m_selection.selectedRows());
    m_model.m_library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    afterRowsRemoved(remembered);
    m_model.m_lifecycle.libraryChanged();
}

// After rows went: the row at the remembered place (or the last row) is selected, or, when none
// is left, the tree takes the focus.
void UndoDeleting::afterRowsRemoved(std::size_t rememberedRow)
{
    m_model.showDescriptionLabel();
    m_model.updateStatusBar();
    if (m_model.linkList().empty()) {
        m_model.setRowSelection({}, npos);
        m_model.updateCommands();
        m_model.requestFocus(Pane::Tree);
        return;
    }
    const std::size_t row = std::min(rememberedRow, m_model.linkList().size() - 1);
    m_model.setRowSelection({row}, row);
    m_model.showRowDescription();
}

void MainWindowModel::removeRows(const std::vector<std::size_t>& rows)
{
    // A run of neighbouring rows goes at once, the last run first, so that the places of the
    // runs before it stay as they are.
    const auto erase = [](auto& items, std::size_t first, std::size_t last) {
        const auto begin = items.begin() + static_cast<std::ptrdiff_t>(std::min(first, items.size()));
        items.erase(begin, items.begin() + static_cast<std::ptrdiff_t>(std::min(last + 1, items.size())));
    };
    for (std::size_t end = rows.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] + 1 == rows[begin])
            --begin;
        const std::size_t first = rows[begin];
        const std::size_t last = rows[end - 1];
        notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeRemoved(first, last); });
        erase(m_library.linkList(), first, last);
        erase(m_library.linkDescriptions(), first, last);
        erase(m_selection.marks(), first, last);
        notify([](MainWindowObserver& o) { o.linkRowsRemoved(); });
        end = begin;
    }
}

void MainWindowModel::insertRow(std::size_t row, const UndoLinkEntry& entry)
{
    auto& links = m_library.linkList();
    auto& descriptions = m_library.linkDescriptions();
    descriptions.resize(std::max(descriptions.size(), links.size()));
    links.insert(links.begin() + static_cast<std::ptrdiff_t>(row),
                 {.Title = entry.Title, .Address = entry.Address, .LastVisit = entry.LastVisit, .AddDate = entry.AddDate});
    descriptions.insert(descriptions.begin() + static_cast<std::ptrdiff_t>(row), entry.Description);
    auto& marks = m_selection.marks();
    marks.insert(marks.begin() + static_cast<std::ptrdiff_t>(std::min(row, marks.size())), 0);
}

void UndoDeleting::RestoreUndoState()
{
    if (m_undo.UndoIsFolder && m_undo.UndoFolderSnapshot) {
        auto& entries = *m_undo.UndoFolderSnapshot;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const UndoFolderEntry entry = entries[i];
            std::size_t parent = npos;
            if (!entry.ParentName.empty() && (parent = m_model.folderTree().findExact(entry.ParentName)) == npos)
                continue; // its parent is gone; its undo copy stays until the next discard
            const std::string name = uniqueName(entry.Name, [this](std::string_view candidate) {
                return m_model.folderTree().findIgnoringCase(candidate) != npos;
            });
            const std::string suffix = name.substr(entry.Name.size());
            m_model.m_library.AppendFolderDescription(name, entry.Description);
            const std::size_t row = m_model.folderTree().childCount(parent);
            m_model.notify([parent, row](MainWindowObserver& o) { o.folderAboutToBeAdded(parent, row); });
            const std::size_t added = m_model.m_library.folderTree().appendChild(parent, name);
            m_model.notify([](MainWindowObserver& o) { o.folderAdded(); });
            m_model.folderNodesAdded();
            RestoreUndoLinkFile(m_model.m_library, entry.Name, suffix);
            removeFileIfExists(m_model.m_library.paths().linkFilePath(entry.Name, kUndoLinkExt));
            if (!suffix.empty())
                for (std::size_t later = i + 1; later < entries.size(); ++later)
                    if (entries[later].ParentName == entry.Name)
                        entries[later].ParentName = name;
            m_model.selectFolder(added);
            m_model.m_lifecycle.addNewFolder(name);
        }
        entries.clear();
        m_model.m_library.SaveFolderTree(kWorkingTreeFile);
        m_model.requestFocus(Pane::Tree);
    } else if (!m_undo.UndoIsFolder && m_undo.UndoLinkSnapshot) {
        const std::size_t folder = m_model.folderTree().findExact(m_undo.UndoFolderName);
        if (folder != npos && folder != m_model.selectedFolder())
            m_model.selectFolder(folder);
        if (m_model.selectedFolder() != npos) {
            m_model.requestFocus(Pane::List);
            m_model.m_selection.marks().assign(m_model.linkList().size(), 0);
            for (const UndoLinkEntry& entry : *m_undo.UndoLinkSnapshot) {
                const TLinkList& links = m_model.linkList();
                const auto same = std::find_if(links.begin(), links.end(), [&](const TLinkRecord& link) {
                    return equalsIgnoringCase(link.Title, entry.Title);
                });
                if (same != links.end())
                    m_model.removeRows({static_cast<std::size_t>(same - links.begin())});
            }
            std::vector<std::size_t> restored;
            const std::size_t first = m_model.linkList().size();
            const std::size_t count = m_undo.UndoLinkSnapshot->size();
            const std::size_t last = first + count - 1;
            if (count > 0)
                m_model.notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(first, last); });
            for (const UndoLinkEntry& entry : *m_undo.UndoLinkSnapshot) {
                m_model.insertRow(m_model.linkList().size(), entry);
                restored.push_back(m_model.linkList().size() - 1);
            }
            if (count > 0)
                m_model.notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
            m_model.setRowSelection(restored, restored.empty() ? npos : restored.front());
            m_model.m_library.SaveLinkFile(m_model.folderTree()[m_model.selectedFolder()].Name, kWorkingLinkExt);
            m_model.updateStatusBar();
        }
    } else if (!m_undo.UndoIsFolder && m_undo.UndoLinksOfFolders) {
        restoreLinksOfFolders();
    }
    m_undo.UndoLinkSnapshot.reset();
    m_undo.UndoLinksOfFolders.reset();
    m_model.m_list.SortLinkList();
    m_model.setUndoAvailable(false);
    m_model.m_filter.libraryChanged();
}

} // namespace velloria
