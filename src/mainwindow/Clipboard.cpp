// Cut, Copy and Paste of links between folders, through the program's own link clipboard.

#include "mainwindow/MainWindowModel.h"

#include "base/Text.h"

#include <unordered_set>

namespace velloria {

void MainWindowModel::takeSelection(std::vector<UndoLinkEntry>& into)
{
    into.clear();
    for (std::size_t row : m_selection.selectedRows()) {
        const TLinkRecord& link = linkList()[row];
        into.push_back({.Title = link.Title, .Address = link.Address, .LastVisit = link.LastVisit,
                        .AddDate = link.AddDate,
                        .Description = row < linkDescriptions().size() ? linkDescriptions()[row] : "", .Index = row});
    }
}

void MainWindowModel::EditCopyExecute()
{
    takeSelection(m_linkClipboard);
    m_flags.ClipboardFilled = true;
    updateCommands();
}

void MainWindowModel::EditCutExecute()
{
    const std::size_t folder = selectedFolder();
    if (folder == npos || m_selection.selectedRows().empty())
        return;
    takeSelection(m_linkClipboard);
    const std::vector<std::size_t> rows = m_selection.selectedRows();
    removeRows(rows);
    // The place of the last row taken, as the rows before it went first.
    const std::size_t lastPlace = rows.back() - (rows.size() - 1);
    if (linkList().empty()) {
        setRowSelection({}, npos);
        showDescriptionLabel();
        updateCommands();
        requestFocus(Pane::Tree);
    } else {
        const std::size_t row = std::min(lastPlace, linkList().size() - 1);
        setRowSelection({row}, row);
    }
    updateStatusBar();
    m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    m_flags.ClipboardFilled = true;
    updateCommands();
    libraryChanged();
}

void MainWindowModel::EditPasteExecute()
{
    const std::size_t folder = selectedFolder();
    if (folder == npos)
        return;
    // Titles already in the folder, in any letter case, are not pasted again.
    std::unordered_set<std::string> present;
    for (const TLinkRecord& link : linkList())
        present.insert(foldCase(link.Title));
    std::vector<std::size_t> keptSelected = m_selection.selectedRows();
    std::vector<const UndoLinkEntry*> pasted;
    for (const UndoLinkEntry& entry : m_linkClipboard) {
        if (!keptSelected.empty())
            keptSelected.erase(keptSelected.begin());
        if (present.insert(foldCase(entry.Title)).second)
            pasted.push_back(&entry);
    }
    // The pasted links come after the last row, all at once.
    if (!pasted.empty()) {
        const std::size_t first = linkList().size();
        const std::size_t last = first + pasted.size() - 1;
        notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(first, last); });
        for (const UndoLinkEntry* entry : pasted)
            insertRow(linkList().size(), *entry);
        notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
    }
    if (!linkList().empty()) {
        keptSelected.push_back(linkList().size() - 1);
        setRowSelection(keptSelected, linkList().size() - 1);
        updateCommands();
    }
    updateStatusBar();
    SortLinkList();
    m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
    libraryChanged();
}

} // namespace velloria
