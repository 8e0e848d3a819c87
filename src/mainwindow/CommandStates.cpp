#include "mainwindow/CommandStates.h"

#include <initializer_list>

namespace velloria {

namespace {

using C = Command;

// The commands that act on the selected folder or on its links.
constexpr std::initializer_list<Command> kFolderCommands = {
    C::EditAddUrl, C::EditEditItem,    C::EditMoveUp,           C::EditMoveDown,           C::EditCut,
    C::EditCopy,   C::EditDelete,      C::EditFind,             C::EditSearchAgain,        C::ViewExpandAllFolders,
    C::ViewCollapseAllFolders,         C::ToolsGo,              C::ToolsGoInNewBrowser};

bool sorts(int sortMode)
{
    return sortMode >= 0 && sortMode <= 3;
}

} // namespace

CommandStates commandStates(const CommandInputs& in)
{
    CommandStates states;
    states.enabled.fill(true);
    const auto enable = [&](std::initializer_list<Command> commands, bool enabled) {
        for (Command command : commands)
            states.enabled[indexOf(command)] = enabled;
    };
    enable({C::FileSave}, in.libraryModified);
    enable({C::EditUndo}, in.undoAvailable);
    enable({C::EditPaste}, in.clipboardFilled && in.folderSelected);
    enable({C::ToolsFindDuplicates, C::ToolsCheckLinks}, !in.treeEmpty);
    if (in.treeEmpty) {
        enable(kFolderCommands, false);
    } else if (in.folderSelected) {
        // Until a folder is shown, the commands keep the states the window starts with.
        enable({C::ToolsGo, C::ToolsGoInNewBrowser}, !in.listEmpty);
        enable({C::EditCut, C::EditCopy}, in.focus == Pane::List && in.rowSelected);
        // Out of the tree, Edit, Delete and the moves act on the selected rows; links are
        // moved by hand only in a list that is not sorted.
        if (in.focus != Pane::Tree) {
            enable({C::EditEditItem, C::EditDelete}, in.rowSelected);
            enable({C::EditMoveUp, C::EditMoveDown}, in.rowSelected && !sorts(in.sortMode));
        }
    }
    // The filter's rows come from many folders: they are opened, edited, deleted, cut and copied
    // where they are, but new and pasted links have no folder shown to go to.
    if (in.filtering && !in.treeEmpty) {
        enable({C::ToolsGo, C::ToolsGoInNewBrowser}, in.rowSelected);
        enable({C::EditCut, C::EditCopy}, in.focus == Pane::List && in.rowSelected);
        if (in.focus != Pane::Tree) {
            enable({C::EditEditItem, C::EditDelete}, in.rowSelected);
            enable({C::EditAddUrl, C::EditPaste, C::EditMoveUp, C::EditMoveDown}, false);
        }
    }

    const auto check = [&](Command command, bool checked) { states.checked[indexOf(command)] = checked; };
    check(C::ViewToolbar, in.toolbarShown);
    check(C::ViewStatusBar, in.statusBarShown);
    for (std::size_t mode = 0; mode < kSortCommands.size(); ++mode)
        check(kSortCommands[mode], static_cast<int>(mode) == in.sortMode);
    check(C::ViewReversedOrder, in.reversedOrder);
    return states;
}

} // namespace velloria
