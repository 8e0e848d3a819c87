// Adding folders and links and editing them: the changes behind the new-item and edit dialogs.

#include "mainwindow/MainWindowModel.h"

#include "base/Clock.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "store/FolderNames.h"

#include <unordered_set>

namespace velloria {

namespace {

// Names are compared with their case folded, so "Émile" and "émile" clash.
std::string uniqueAmong(std::string_view base, const std::unordered_set<std::string>& foldedNames)
{
    return uniqueName(base, [&](std::string_view candidate) { return foldedNames.contains(foldCase(candidate)); });
}

} // namespace

std::string MainWindowModel::uniqueFolderName(std::string_view cleaned) const
{
    std::unordered_set<std::string> folded;
    for (const TFolderRecord& folder : folderTree().records())
        folded.insert(foldCase(folder.Name));
    // A folder name is a file name too: a long one is shortened, leaving room for a suffix.
    std::string base(cleaned);
    if (base.size() > kMaxFolderNameBytes - 8) {
        std::size_t end = kMaxFolderNameBytes - 8;
        while (end > 0 && (static_cast<unsigned char>(base[end]) & 0xC0) == 0x80)
            --end;
        base = std::string(trimmed(std::string_view(base).substr(0, end)));
    }
    return uniqueAmong(base, folded);
}

std::string MainWindowModel::uniqueLinkTitle(std::string_view cleaned) const
{
    std::unordered_set<std::string> folded;
    for (const TLinkRecord& link : linkList())
        folded.insert(foldCase(link.Title));
    return uniqueAmong(cleaned, folded);
}

void MainWindowModel::selectNewLastRow()
{
    requestFocus(Pane::List);
    setRowSelection({linkList().size() - 1}, linkList().size() - 1);
}

std::string MainWindowModel::addLink(std::string_view title, std::string_view address, std::string_view description)
{
    const std::size_t folder = selectedFolder();
    if (folder == npos)
        return "";
    std::string unique = uniqueLinkTitle(title);
    const std::size_t row = linkList().size();
    notify([row](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(row, row); });
    m_library.linkList().push_back({.Title = unique, .Address = std::string(address), .LastVisit = " ",
                                    .AddDate = formatDate(m_clock.today())});
    m_library.linkDescriptions().resize(linkList().size() - 1);
    m_library.linkDescriptions().emplace_back(description);
    notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
    try {
        m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    } catch (...) {
        // A link that could not be stored (a full disk, a read-only home) is not shown either,
        // or a later save would report success without it.
        notify([row](MainWindowObserver& o) { o.linkRowsAboutToBeRemoved(row, row); });
        m_library.linkList().pop_back();
        m_library.linkDescriptions().pop_back();
        notify([](MainWindowObserver& o) { o.linkRowsRemoved(); });
        throw;
    }
    selectNewLastRow();
    setDescription(std::string(description));
    updateStatusBar();
    updateCommands();
    libraryChanged();
    SortLinkList();
    return unique;
}

std::string MainWindowModel::addFolder(std::string_view name, std::string_view description)
{
    std::size_t parent = npos;
    if (!folderTree().empty() && selectedFolder() != npos)
        parent = prefs().AddFolderInFolder ? selectedFolder() : folderTree().parentOf(selectedFolder());
    return addFolderIn(parent, name, description);
}

std::string MainWindowModel::addFolderIn(std::size_t parent, std::string_view name, std::string_view description)
{
    std::string unique = uniqueFolderName(name);
    m_library.SaveFolderStates();
    const std::size_t row = folderTree().childCount(parent);
    notify([parent, row](MainWindowObserver& o) { o.folderAboutToBeAdded(parent, row); });
    const std::size_t position = m_library.folderTree().appendChild(parent, unique);
    notify([](MainWindowObserver& o) { o.folderAdded(); });
    folderNodesAdded();
    // The list is the new folder's, empty, from here on.
    notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    m_library.clearLinkList();
    notify([](MainWindowObserver& o) { o.linkListReset(); });
    m_newFolders.push_back(unique);
    m_library.SaveFolderTree(kWorkingTreeFile);
    m_library.AddFolderDescription(unique, description);
    m_library.SaveLinkFile(unique, kWorkingLinkExt);
    libraryChanged();
    // The tree in memory is what was written; reading it back would only give the folders
    // after the new one the states of their neighbours.
    selectFolder(position);
    requestFocus(Pane::Tree);
    return unique;
}

std::size_t MainWindowModel::addImportedFolders(std::vector<TFolderRecord> records)
{
    if (records.empty())
        return npos;
    for (const TFolderRecord& record : records)
        m_newFolders.push_back(record.Name);
    notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    const std::size_t first = m_library.folderTree().appendTopLevel(std::move(records));
    notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    folderNodesAdded();
    m_library.SaveFolderTree(kWorkingTreeFile);
    libraryChanged();
    return first;
}

std::string MainWindowModel::editFolder(std::string_view name, std::string_view description)
{
    const std::size_t folder = selectedFolder();
    if (folder == npos)
        return "";
    const std::string current = folderTree()[folder].Name;
    m_library.SaveFolderStates();
    const std::string final = name == current ? current : uniqueFolderName(name);
    if (final != current) {
        // The list shows this folder's links: they go to the new name, the backup included.
        m_library.SaveLinkFile(final, kWorkingLinkExt);
        m_library.SaveLinkFile(final, kSavedLinkExt);
        m_library.PurgeLinkBackups();
        m_library.DeleteLinkFile(current);
    }
    m_library.folderTree().rename(folder, final);
    notify([folder](MainWindowObserver& o) { o.folderChanged(folder); });
    m_library.SaveFolderTree(kWorkingTreeFile);
    m_library.AddFolderDescription(final, description);
    libraryChanged();
    selectFolder(folder);
    return final;
}

std::string MainWindowModel::editLink(std::string_view title, std::string_view address, std::string_view description)
{
    const std::size_t folder = selectedFolder();
    const std::size_t row = m_selection.selectedRow();
    if (folder == npos || row == npos)
        return "";
    m_library.SaveFolderStates();
    TLinkRecord& link = m_library.linkList()[row];
    if (title != link.Title)
        link.Title = uniqueLinkTitle(title);
    link.Address = std::string(address);
    m_library.linkDescriptions().resize(std::max(linkDescriptions().size(), linkList().size()));
    m_library.linkDescriptions()[row] = std::string(description);
    std::string final = link.Title;
    notify([row](MainWindowObserver& o) { o.linkRowsChanged(row, row); });
    setRowSelection(m_selection.selectedRows(), m_selection.focusedRow());
    m_statusPanels[1] = final;
    setDescription(std::string(description));
    m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    libraryChanged();
    SortLinkList();
    return final;
}

} // namespace velloria
