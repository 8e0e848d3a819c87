#pragma once

#include "mainwindow/Commands.h"
#include "mainwindow/MainWindowObserver.h"

#include <array>

namespace velloria {

// The facts of the main window that decide which commands can run and which are ticked.
struct CommandInputs {
    Pane focus = Pane::None;      // None: neither pane, as after the tree lost the focus
    bool treeEmpty = true;
    bool folderSelected = false;  // false before the first folder is shown
    bool filtering = false;       // the list shows the filter's rows instead of the folder's links
    bool listEmpty = true;        // the links of the selected folder, or the filter's rows
    bool rowSelected = false;
    bool clipboardFilled = false; // a Copy or Cut since the start
    bool undoAvailable = false;   // a deletion that Undo has not yet put back
    bool libraryModified = false; // changes since the last save
    int sortMode = 0;             // the SortMode preference; 0 to 3 sort the list, 4 and others do not
    bool reversedOrder = false;
    bool toolbarShown = false;
    bool statusBarShown = false;
    bool operator==(const CommandInputs&) const = default;
};

struct CommandStates {
    std::array<bool, kCommandCount> enabled{};
    std::array<bool, kCommandCount> checked{};
    bool isEnabled(Command command) const { return enabled[indexOf(command)]; }
    bool isChecked(Command command) const { return checked[indexOf(command)]; }
    bool operator==(const CommandStates&) const = default;
};

// The enabled and checked state of every command of the main window.
CommandStates commandStates(const CommandInputs& inputs);

} // namespace velloria
