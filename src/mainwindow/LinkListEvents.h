#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// The link list's events: rows selected, the pane entered, a click, a double click and a click
// on a column header; the list put in the order of the sort preferences; and opening links in
// the browser, which records the visit. A part of the window model, which it acts on.
class LinkListEvents {
public:
    explicit LinkListEvents(MainWindowModel& model) : m_model(model) {}
    LinkListEvents(const LinkListEvents&) = delete;
    LinkListEvents& operator=(const LinkListEvents&) = delete;

    void lvReferencesEnter();
    void selectRows(const std::vector<std::size_t>& rows, std::size_t focusedRow); // lvReferencesSelectItem
    void lvReferencesClick(); // also the mouse-down and context-menu request
    void lvReferencesDblClick();
    void lvReferencesColumnClick(int column);

    // The list in the order of SortMode and ReversedOrder, written back to the folder's file.
    void SortLinkList();
    // Opens the selected link in the browser and records the visit.
    void OpenSelectedLink();
    // Go and Go in New Browser; a new window first opens a blank page.
    void goTo(bool newWindow);
    // Shows a link of any folder: the folder selected, then the row holding the link (the given
    // row when it does), selected and with the focus.
    void showLink(std::size_t folder, const LinkRecordView& link, std::size_t row);
    // Hands an address to the browser as opening a link does, without recording a visit.
    void openAddress(std::string_view address);
    // At start, with "open last link" set: selects the last opened link and opens it again.
    void openLastLink();

private:
    MainWindowModel& m_model;
};

} // namespace velloria
