// Adding folders and links and editing them: the changes behind the new-item and edit dialogs.

#include "mainwindow/ItemEditing.h"

#include "base/Clock.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "mainwindow/FolderRows.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "store/FolderNames.h"

#include <algorithm>
#include <unordered_set>

namespace velloria {

namespace {

constexpr std::size_t npos = MainWindowModel::npos;

// Names are compared with their case folded, so "Émile" and "émile" clash.
std::string uniqueAmong(std::string_view base, const std::unordered_set<std::string>& foldedNames)
{
    return uniqueName(base, [&](std::string_view candidate) { return foldedNames.contains(foldCase(candidate)); });
}

} // namespace

std::string ItemEditing::uniqueFolderName(std::string_view cleaned) const
{
    std::unordered_set<std::string> folded;
    for (const TFolderRecord& folder : m_model.folderTree().records())
        folded.insert(foldCase(folder.Name));
    // A folder name is a file name too: a long one is shortened, leaving room for a suffix.
    return uniqueAmong(shortenedWithRoomForSuffix(cleaned), folded);
}

std::string ItemEditing::uniqueLinkTitle(std::string_view cleaned) const
{
    std::unordered_set<std::string> folded;
    for (const TLinkRecord& link : m_model.linkList())
        folded.insert(foldCase(link.Title));
    return uniqueAmong(cleaned, folded);
}

void ItemEditing::selectNewLastRow()
{
    m_model.requestFocus(Pane::List);
    m_model.setRowSelection({m_model.linkList().size() - 1}, m_model.linkList().size() - 1);
}

std::string ItemEditing::addLink(std::string_view title, std::string_view address, std::string_view description)
{
    Library& library = m_model.m_library;
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos)
        return "";
    std::string unique = uniqueLinkTitle(title);
    const std::size_t row = m_model.linkList().size();
    m_model.notify([row](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(row, row); });
    library.linkList().push_back({.Title = unique, .Address = std::string(address), .LastVisit = " ",
                                  .AddDate = formatDate(m_model.m_clock.today())});
    library.linkDescriptions().resize(m_model.linkList().size() - 1);
    library.linkDescriptions().emplace_back(description);
    m_model.notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
    try {
        library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    } catch (...) {
        // A link that could not be stored (a full disk, a read-only home) is not shown either,
        // or a later save would report success without it.
        m_model.notify([row](MainWindowObserver& o) { o.linkRowsAboutToBeRemoved(row, row); });
        library.linkList().pop_back();
        library.linkDescriptions().pop_back();
        m_model.notify([](MainWindowObserver& o) { o.linkRowsRemoved(); });
        throw;
    }
    selectNewLastRow();
    m_model.setDescription(std::string(description));
    m_model.updateStatusBar();
    m_model.updateCommands();
    m_model.m_lifecycle.libraryChanged();
    m_model.m_list.SortLinkList();
    return unique;
}

std::string ItemEditing::addFolder(std::string_view name, std::string_view description)
{
    std::size_t parent = npos;
    const std::size_t selected = m_model.selectedFolder();
    if (!m_model.folderTree().empty() && selected != npos)
        parent = m_model.prefs().AddFolderInFolder ? selected : m_model.folderTree().parentOf(selected);
    return addFolderIn(parent, name, description);
}

std::string ItemEditing::addFolderIn(std::size_t parent, std::string_view name, std::string_view description)
{
    Library& library = m_model.m_library;
    std::string unique = uniqueFolderName(name);
    library.SaveFolderStates();
    const std::size_t row = m_model.folderTree().childCount(parent);
    m_model.notify([parent, row](MainWindowObserver& o) { o.folderAboutToBeAdded(parent, row); });
    const std::size_t position = library.folderTree().appendChild(parent, unique);
    m_model.notify([](MainWindowObserver& o) { o.folderAdded(); });
    m_model.folderNodesAdded();
    // The list is the new folder's, empty, from here on.
    m_model.notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    library.clearLinkList();
    m_model.notify([](MainWindowObserver& o) { o.linkListReset(); });
    m_model.m_lifecycle.addNewFolder(unique);
    library.SaveFolderTree(kWorkingTreeFile);
    library.AddFolderDescription(unique, description);
    library.SaveLinkFile(unique, kWorkingLinkExt);
    m_model.m_lifecycle.libraryChanged();
    // The tree in memory is what was written; reading it back would only give the folders
    // after the new one the states of their neighbours.
    m_model.selectFolder(position);
    m_model.requestFocus(Pane::Tree);
    return unique;
}

std::size_t MainWindowModel::addImportedFolders(std::vector<TFolderRecord> records)
{
    if (records.empty())
        return npos;
    for (const TFolderRecord& record : records)
        m_lifecycle.addNewFolder(record.Name);
    notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    const std::size_t first = m_library.folderTree().appendTopLevel(std::move(records));
    notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    folderNodesAdded();
    m_library.SaveFolderTree(kWorkingTreeFile);
    m_lifecycle.libraryChanged();
    return first;
}

std::string ItemEditing::editFolder(std::string_view name, std::string_view description)
{
    Library& library = m_model.m_library;
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos)
        return "";
    const std::string current = m_model.folderTree()[folder].Name;
    library.SaveFolderStates();
    const std::string final = name == current ? current : uniqueFolderName(name);
    if (final != current) {
        // The list shows this folder's links: they go to the new name, the backup included.
        library.SaveLinkFile(final, kWorkingLinkExt);
        library.SaveLinkFile(final, kSavedLinkExt);
        library.PurgeLinkBackups();
        library.DeleteLinkFile(current);
    }
    library.folderTree().rename(folder, final);
    m_model.notify([folder](MainWindowObserver& o) { o.folderChanged(folder); });
    library.SaveFolderTree(kWorkingTreeFile);
    library.AddFolderDescription(final, description);
    m_model.m_lifecycle.libraryChanged();
    m_model.selectFolder(folder);
    return final;
}

std::string ItemEditing::editLink(std::string_view title, std::string_view address, std::string_view description)
{
    Library& library = m_model.m_library;
    const std::size_t folder = m_model.selectedFolder();
    const std::size_t row = m_model.m_selection.selectedRow();
    if (folder == npos || row == npos)
        return "";
    library.SaveFolderStates();
    TLinkRecord& link = library.linkList()[row];
    if (title != link.Title)
        link.Title = uniqueLinkTitle(title);
    link.Address = std::string(address);
    library.linkDescriptions().resize(std::max(m_model.m_library.linkDescriptions().size(), m_model.linkList().size()));
    library.linkDescriptions()[row] = std::string(description);
    std::string final = link.Title;
    m_model.notify([row = row](MainWindowObserver& o) { o.linkRowsChanged(row, row); });
    m_model.setRowSelection(m_model.m_selection.selectedRows(), m_model.m_selection.focusedRow());
    m_model.m_statusPanels[1] = final;
    m_model.setDescription(std::string(description));
    library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    m_model.m_lifecycle.libraryChanged();
    m_model.m_list.SortLinkList();
    return final;
}

std::vector<bool> ItemEditing::changeLinks(const std::vector<LinkChange>& changes)
{
    Library& library = m_model.m_library;
    const TFolderTree& tree = m_model.folderTree();
    std::vector<const LinkChange*> ordered;
    for (const LinkChange& change : changes)
        if (change.link.folder < tree.count())
            ordered.push_back(&change);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const LinkChange* a, const LinkChange* b) { return a->link.folder < b->link.folder; });
    // Every file is written before the list changes, so that a failure leaves the window as it was.
    struct ListChange {
        std::size_t row;
        TLinkRecord link;
        std::string description;
    };
    std::vector<ListChange> listChanges; // the rows of the list shown as their files will hold them
    std::vector<bool> made(changes.size());
    StagedWrites batch;
    for (auto begin = ordered.begin(); begin != ordered.end();) {
        const std::size_t folder = (*begin)->link.folder;
        const auto end = std::find_if(begin, ordered.end(), [folder](const LinkChange* c) { return c->link.folder != folder; });
        FolderRows rows = folderRows(library, tree[folder].Name);
        rows.descriptions.resize(std::max(rows.descriptions.size(), rows.links.size()));
        std::vector<bool> changed(rows.links.size());
        bool any = false;
        for (auto it = begin; it != end && rows.usable; ++it) {
            const LinkChange& change = **it;
            const std::size_t row = findLinkRow(rows.links, change.link.link, change.link.row, changed);
            if (row == npos)
                continue;
            changed[row] = true;
            any = true;
            TLinkRecord& link = rows.links[row];
            if (change.title && *change.title != link.Title) {
                std::unordered_set<std::string> others;
                for (std::size_t other = 0; other < rows.links.size(); ++other)
                    if (other != row)
                        others.insert(foldCase(rows.links[other].Title));
                link.Title = uniqueAmong(*change.title, others);
            }
            if (change.address)
                link.Address = *change.address;
            if (change.lastVisit)
                link.LastVisit = *change.lastVisit;
            if (change.description)
                rows.descriptions[row] = *change.description;
            if (rows.inList)
                listChanges.push_back({row, link, rows.descriptions[row]});
            made[static_cast<std::size_t>(&change - changes.data())] = true;
        }
        begin = end;
        if (any)
            batch.stage(library.paths().linkFilePath(tree[folder].Name, kWorkingLinkExt),
                        writeLinkFile(rows.links, rows.descriptions));
    }
    if (std::find(made.begin(), made.end(), true) == made.end())
        return made;
    batch.commit();
    for (ListChange& change : listChanges) {
        library.linkList()[change.row] = std::move(change.link);
        library.linkDescriptions().resize(std::max(library.linkDescriptions().size(), library.linkList().size()));
        library.linkDescriptions()[change.row] = std::move(change.description);
        m_model.notify([row = change.row](MainWindowObserver& o) { o.linkRowsChanged(row, row); });
    }
    m_model.m_lifecycle.libraryChanged();
    if (!listChanges.empty())
        m_model.m_list.SortLinkList();
    return made;
}

} // namespace velloria
