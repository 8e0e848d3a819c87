// Which commands the main window's facts enable and tick.

#include "mainwindow/CommandStates.h"

#include <gtest/gtest.h>

#include <string>

namespace velloria {
namespace {

// The names of the commands that are disabled (or ticked), in table order with a space between.
std::string names(const CommandStates& states, bool ticked)
{
    std::string text;
    for (const CommandInfo& info : commandTable())
        if (ticked ? states.isChecked(info.command) : !states.isEnabled(info.command))
            text += (text.empty() ? "" : " ") + std::string(info.name);
    return text;
}

// A shown folder of links with its first row selected, in a sorted list.
CommandInputs shownFolder(Pane focus)
{
    return {.focus = focus, .treeEmpty = false, .folderSelected = true, .listEmpty = false, .rowSelected = true};
}

TEST(CommandStatesTest, EnablingRules)
{
    struct Case {
        const char* what;
        CommandInputs inputs;
        std::string disabled; // names in table order
    };
    const auto with = [](CommandInputs inputs, auto change) {
        change(inputs);
        return inputs;
    };
    const Case cases[] = {
        {"an empty tree", {.treeEmpty = true, .clipboardFilled = true},
         "FileSave EditUndo EditAddUrl EditEditItem EditMoveUp EditMoveDown EditCut EditCopy EditPaste EditDelete "
         "EditFind EditSearchAgain ViewExpandAllFolders ViewCollapseAllFolders ToolsGo ToolsGoInNewBrowser"},
        {"before a folder is shown", {.treeEmpty = false}, "FileSave EditUndo EditPaste"},
        {"the tree", shownFolder(Pane::Tree), "FileSave EditUndo EditCut EditCopy EditPaste"},
        {"the tree, an empty list", with(shownFolder(Pane::Tree), [](auto& i) { i.listEmpty = true, i.rowSelected = false; }),
         "FileSave EditUndo EditCut EditCopy EditPaste ToolsGo ToolsGoInNewBrowser"},
        {"the tree, no row selected", with(shownFolder(Pane::Tree), [](auto& i) { i.rowSelected = false; }),
         "FileSave EditUndo EditCut EditCopy EditPaste"},
        {"the list, sorted", shownFolder(Pane::List), "FileSave EditUndo EditMoveUp EditMoveDown EditPaste"},
        {"the list, sorted by add date", with(shownFolder(Pane::List), [](auto& i) { i.sortMode = 3; }),
         "FileSave EditUndo EditMoveUp EditMoveDown EditPaste"},
        {"the list, unsorted", with(shownFolder(Pane::List), [](auto& i) { i.sortMode = 4; }),
         "FileSave EditUndo EditPaste"},
        {"the list, a mode the menu does not know", with(shownFolder(Pane::List), [](auto& i) { i.sortMode = 5; }),
         "FileSave EditUndo EditPaste"},
        {"the list, no row selected", with(shownFolder(Pane::List), [](auto& i) { i.rowSelected = false, i.sortMode = 4; }),
         "FileSave EditUndo EditEditItem EditMoveUp EditMoveDown EditCut EditCopy EditPaste EditDelete"},
        {"out of the tree", with(shownFolder(Pane::None), [](auto& i) { i.sortMode = 4; }),
         "FileSave EditUndo EditCut EditCopy EditPaste"},
        {"out of the tree, no row selected", with(shownFolder(Pane::None), [](auto& i) { i.rowSelected = false; }),
         "FileSave EditUndo EditEditItem EditMoveUp EditMoveDown EditCut EditCopy EditPaste EditDelete"},
        {"changes, a deletion and a filled clipboard",
         with(shownFolder(Pane::List), [](auto& i) { i.libraryModified = i.undoAvailable = i.clipboardFilled = true; }),
         "EditMoveUp EditMoveDown"},
        {"a filled clipboard and no folder", {.treeEmpty = false, .clipboardFilled = true}, "FileSave EditUndo EditPaste"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(names(commandStates(c.inputs), false), c.disabled) << c.what;
}

TEST(CommandStatesTest, TicksFollowTheBarsAndTheSortMode)
{
    const std::pair<CommandInputs, std::string> cases[] = {
        {{.sortMode = 0, .toolbarShown = true, .statusBarShown = true}, "ViewToolbar ViewStatusBar ViewSortByTitle"},
        {{.sortMode = 3, .reversedOrder = true}, "ViewSortByAddDate ViewReversedOrder"},
        {{.sortMode = 4}, "ViewUnsorted"},
        {{.sortMode = 5}, ""}, // a list that is not sorted ticks no sort command
    };
    for (const auto& [inputs, ticked] : cases)
        EXPECT_EQ(names(commandStates(inputs), true), ticked) << inputs.sortMode;
}

} // namespace
} // namespace velloria
