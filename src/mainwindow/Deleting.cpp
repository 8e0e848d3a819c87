// Deleting folders and links, and the undo of the last deletion.

#include "mainwindow/MainWindowModel.h"

#include "base/Text.h"
#include "platform/FileIO.h"
#include "store/FolderNames.h"

#include <algorithm>

namespace velloria {

void MainWindowModel::SaveUndoState(bool isFolder, const std::string& folderName)
{
    m_undo.UndoIsFolder = isFolder;
    m_undo.UndoFolderName = folderName;
    if (isFolder) {
        discardFolderSnapshot(m_library, m_undo, KeepSnapshot::Empty);
        m_undo.UndoFolderSnapshot.emplace();
        const std::size_t folder = selectedFolder();
        const auto& descriptions = m_library.folderDescriptions();
        for (std::size_t i = folder; i < folderTree().subtreeEnd(folder); ++i) {
            const std::size_t parent = folderTree().parentOf(i);
            const auto it = descriptions.find(folderTree()[i].Name);
            m_undo.UndoFolderSnapshot->push_back(
                {.Name = folderTree()[i].Name, .ParentName = parent == npos ? "" : folderTree()[parent].Name,
                 .Description = i == folder ? m_library.folderDescription()
                                            : (it == descriptions.end() ? "" : it->second)});
            SaveUndoLinkFile(m_library, folderTree()[i].Name);
        }
    } else {
        m_undo.UndoLinkSnapshot.emplace();
        for (std::size_t row : m_selection.selectedRows()) {
            const TLinkRecord& link = linkList()[row];
            m_undo.UndoLinkSnapshot->push_back({.Title = link.Title, .Address = link.Address,
                                                .LastVisit = link.LastVisit, .AddDate = link.AddDate,
                                                .Description = row < linkDescriptions().size() ? linkDescriptions()[row] : "",
                                                .Index = row});
        }
    }
    setUndoAvailable(true);
}

void MainWindowModel::deleteSelectedFolder()
{
    const std::size_t folder = selectedFolder();
    if (folder == npos)
        return;
    SaveUndoState(true, folderTree()[folder].Name);
    // The tree control selects the next sibling of a deleted folder, else the previous one,
    // else the parent.
    const std::size_t parent = folderTree().parentOf(folder);
    const std::size_t row = folderTree().rowOf(folder);
    const std::size_t siblings = folderTree().childCount(parent);
    const auto nextId = row + 1 < siblings ? folderTree().idOf(folderTree().childAt(parent, row + 1))
                      : row > 0            ? folderTree().idOf(folderTree().childAt(parent, row - 1))
                      : parent != npos     ? folderTree().idOf(parent)
                                           : 0;
    notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    m_library.clearLinkList();
    notify([](MainWindowObserver& o) { o.linkListReset(); });
    notify([folder](MainWindowObserver& o) { o.folderAboutToBeRemoved(folder); });
    m_library.folderTree().removeSubtree(folder);
    notify([](MainWindowObserver& o) { o.folderRemoved(); });
    folderNodesRemoved();
    m_library.SaveFolderTree(kWorkingTreeFile);
    m_library.PurgeDeletedFolders();
    libraryChanged();
    if (folderTree().empty()) {
        updateCommands();
        return;
    }
    selectFolder(folderTree().indexOf(nextId));
}

void MainWindowModel::deleteSelectedLinks()
{
    const std::size_t folder = selectedFolder();
    const std::size_t remembered = m_selection.selectedRow();
    if (folder == npos || remembered == npos)
        return;
    SaveUndoState(false, folderTree()[folder].Name);
    removeRows(m_selection.selectedRows());
    m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    afterRowsRemoved(remembered);
    libraryChanged();
}

// After rows went: the row at the remembered place (or the last row) is selected, or, when none
// is left, the tree takes the focus.
void MainWindowModel::afterRowsRemoved(std::size_t rememberedRow)
{
    showDescriptionLabel();
    updateStatusBar();
    if (linkList().empty()) {
        setRowSelection({}, npos);
        updateCommands();
        requestFocus(Pane::Tree);
        return;
    }
    const std::size_t row = std::min(rememberedRow, linkList().size() - 1);
    setRowSelection({row}, row);
    showRowDescription();
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

void MainWindowModel::RestoreUndoState()
{
    if (m_undo.UndoIsFolder && m_undo.UndoFolderSnapshot) {
        auto& entries = *m_undo.UndoFolderSnapshot;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const UndoFolderEntry entry = entries[i];
            std::size_t parent = npos;
            if (!entry.ParentName.empty() && (parent = folderTree().findExact(entry.ParentName)) == npos)
                continue; // its parent is gone; its undo copy stays until the next discard
            const std::string name = uniqueName(entry.Name, [this](std::string_view candidate) {
                return folderTree().findIgnoringCase(candidate) != npos;
            });
            const std::string suffix = name.substr(entry.Name.size());
            m_library.AppendFolderDescription(name, entry.Description);
            const std::size_t row = folderTree().childCount(parent);
            notify([parent, row](MainWindowObserver& o) { o.folderAboutToBeAdded(parent, row); });
            const std::size_t added = m_library.folderTree().appendChild(parent, name);
            notify([](MainWindowObserver& o) { o.folderAdded(); });
            folderNodesAdded();
            RestoreUndoLinkFile(m_library, entry.Name, suffix);
            removeFileIfExists(m_library.linkFilePath(entry.Name, kUndoLinkExt));
            if (!suffix.empty())
                for (std::size_t later = i + 1; later < entries.size(); ++later)
                    if (entries[later].ParentName == entry.Name)
                        entries[later].ParentName = name;
            selectFolder(added);
            m_newFolders.push_back(name);
        }
        entries.clear();
        m_library.SaveFolderTree(kWorkingTreeFile);
        requestFocus(Pane::Tree);
    } else if (!m_undo.UndoIsFolder && m_undo.UndoLinkSnapshot) {
        const std::size_t folder = folderTree().findExact(m_undo.UndoFolderName);
        if (folder != npos && folder != selectedFolder())
            selectFolder(folder);
        if (selectedFolder() != npos) {
            requestFocus(Pane::List);
            m_selection.marks().assign(linkList().size(), 0);
            for (const UndoLinkEntry& entry : *m_undo.UndoLinkSnapshot) {
                const auto same = std::find_if(linkList().begin(), linkList().end(), [&](const TLinkRecord& link) {
                    return equalsIgnoringCase(link.Title, entry.Title);
                });
                if (same != linkList().end())
                    removeRows({static_cast<std::size_t>(same - linkList().begin())});
            }
            std::vector<std::size_t> restored;
            const std::size_t first = linkList().size();
            const std::size_t count = m_undo.UndoLinkSnapshot->size();
            const std::size_t last = first + count - 1;
            if (count > 0)
                notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(first, last); });
            for (const UndoLinkEntry& entry : *m_undo.UndoLinkSnapshot) {
                insertRow(linkList().size(), entry);
                restored.push_back(linkList().size() - 1);
            }
            if (count > 0)
                notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
            setRowSelection(restored, restored.empty() ? npos : restored.front());
            m_library.SaveLinkFile(folderTree()[selectedFolder()].Name, kWorkingLinkExt);
            updateStatusBar();
        }
    }
    m_undo.UndoLinkSnapshot.reset();
    SortLinkList();
    setUndoAvailable(false);
}

} // namespace velloria
