#pragma once

#include "store/Undo.h"

#include <vector>

namespace velloria {

class MainWindowModel;

// Cut, Copy and Paste of links between folders, through the program's own link clipboard: the
// links last cut or copied, with their descriptions. A part of the window model, which it acts on.
class LinkClipboard {
public:
    explicit LinkClipboard(MainWindowModel& model) : m_model(model) {}
    LinkClipboard(const LinkClipboard&) = delete;
    LinkClipboard& operator=(const LinkClipboard&) = delete;

    void EditCopyExecute();
    void EditCutExecute();
    void EditPasteExecute();
    // Puts links of any folders on the clipboard, as Copy on the filter's rows does.
    void take(std::vector<UndoLinkEntry> entries);
    const std::vector<UndoLinkEntry>& entries() const { return m_entries; }

private:
    void takeSelection();

    MainWindowModel& m_model;
    std::vector<UndoLinkEntry> m_entries;
};

} // namespace velloria
