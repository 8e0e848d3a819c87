#pragma once

#include <string>

namespace velloria {

// What the item dialogs work on: Add Folder and Add Bookmark choose it for the new-item dialog,
// Edit Item takes it from the pane with the focus.
enum class NewItemKind { Folder, Link };

// The main window's state flags: what the window has done since the start and what the next
// event or dialog must take into account.
struct WindowFlags {
    bool FolderShownOnce = false;    // a folder change has shown a folder since the start
    bool TreeHadFocus = false;       // the tree had the focus last (the description pane gives it back)
    bool ClipboardFilled = false;    // a Copy or Cut since the start
    bool ClosingInProgress = false;  // closing without saving: folder changes load nothing
    bool SearchFocusPending = false; // the list's next focus keeps the search match shown
    bool TrayIconCreated = false;    // the window made its notification-area icon
    bool DuplicatesLoose = false;    // Find Duplicates compares loosely (chosen in its dialog)
    bool CheckWholeLibrary = false;  // Check Links checks the whole library, not the selected folder
    bool CheckSubfolders = true;     // Check Links takes the selected folder's subfolders too
    NewItemKind NewItem = NewItemKind::Folder;
    // The address a new link starts with in the dialog (the tray menu's Add to Folder fills it).
    std::string NewItemAddress;
};

} // namespace velloria
