// Cut, Copy and Paste of links between folders, through the program's own link clipboard.

#include "mainwindow/LinkClipboard.h"

#include "base/Text.h"
#include "mainwindow/MainWindowModel.h"

#include <unordered_set>

namespace velloria {

namespace {

constexpr std::size_t npos = MainWindowModel::npos;

} // namespace

void LinkClipboard::takeSelection()
{
    m_entries.clear();
    for (std::size_t row : m_model.m_selection.selectedRows()) {
        const TLinkRecord& link = m_model.linkList()[row];
        const auto& descriptions = m_model.m_library.linkDescriptions();
        m_entries.push_back({.Title = link.Title, .Address = link.Address, .LastVisit = link.LastVisit,
                             .AddDate = link.AddDate,
                             .Description = row < descriptions.size() ? descriptions[row] : "", .Index = row});
    }
}

void LinkClipboard::EditCopyExecute()
{
    takeSelection();
    m_model.m_flags.ClipboardFilled = true;
    m_model.updateCommands();
}

void LinkClipboard::take(std::vector<UndoLinkEntry> entries)
{
    m_entries = std::move(entries);
    m_model.m_flags.ClipboardFilled = true;
    m_model.updateCommands();
}

void LinkClipboard::EditCutExecute()
{
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos || m_model.m_selection.selectedRows().empty())
        return;
    takeSelection();
    const std::vector<std::size_t> rows = m_model.m_selection.selectedRows();
    m_model.removeRows(rows);
    // The place of the last row taken, as the rows before it went first.
    const std::size_t lastPlace = rows.back() - (rows.size() - 1);
    if (m_model.linkList().empty()) {
        m_model.setRowSelection({}, npos);
        m_model.showDescriptionLabel();
        m_model.updateCommands();
        m_model.requestFocus(Pane::Tree);
    } else {
        const std::size_t row = std::min(lastPlace, m_model.linkList().size() - 1);
        m_model.setRowSelection({row}, row);
    }
    m_model.updateStatusBar();
    m_model.m_library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    m_model.m_flags.ClipboardFilled = true;
    m_model.updateCommands();
    m_model.m_lifecycle.libraryChanged();
}

void LinkClipboard::EditPasteExecute()
{
    const std::size_t folder = m_model.selectedFolder();
    if (folder == npos)
        return;
    // Titles already in the folder, in any letter case, are not pasted again.
    std::unordered_set<std::string> present;
    for (const TLinkRecord& link : m_model.linkList())
        present.insert(foldCase(link.Title));
    std::vector<std::size_t> keptSelected = m_model.m_selection.selectedRows();
    std::vector<const UndoLinkEntry*> pasted;
    for (const UndoLinkEntry& entry : m_entries) {
        if (!keptSelected.empty())
            keptSelected.erase(keptSelected.begin());
        if (present.insert(foldCase(entry.Title)).second)
            pasted.push_back(&entry);
    }
    // The pasted links come after the last row, all at once.
    if (!pasted.empty()) {
        const std::size_t first = m_model.linkList().size();
        const std::size_t last = first + pasted.size() - 1;
        m_model.notify([first, last](MainWindowObserver& o) { o.linkRowsAboutToBeInserted(first, last); });
        for (const UndoLinkEntry* entry : pasted)
            m_model.insertRow(m_model.linkList().size(), *entry);
        m_model.notify([](MainWindowObserver& o) { o.linkRowsInserted(); });
    }
    if (!m_model.linkList().empty()) {
        keptSelected.push_back(m_model.linkList().size() - 1);
        m_model.setRowSelection(keptSelected, m_model.linkList().size() - 1);
        m_model.updateCommands();
    }
    m_model.updateStatusBar();
    m_model.m_list.SortLinkList();
    m_model.m_library.SaveLinkFile(m_model.folderTree()[folder].Name, kWorkingLinkExt);
    m_model.m_lifecycle.libraryChanged();
}

} // namespace velloria
