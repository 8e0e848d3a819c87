#include "mainwindow/Commands.h"

namespace velloria {

namespace {

constexpr CommandKind Plain = CommandKind::Plain;
constexpr CommandKind Check = CommandKind::Check;
constexpr CommandKind Sort = CommandKind::SortChoice;

} // namespace

const std::array<CommandInfo, kCommandCount>& commandTable()
{
    static const std::array<CommandInfo, kCommandCount> table = {{
        {Command::FileSave, "FileSave", "&Save", "Ctrl+S", 0, Plain},
        {Command::FileImport, "FileImport", "&Import...", "", 1, Plain},
        {Command::FileExport, "FileExport", "&Export...", "", 2, Plain},
        {Command::FileGenHtml, "FileGenHtml", "&Generate HTML File...", "", 3, Plain},
        {Command::FileExit, "FileExit", "E&xit", "", 4, Plain},
        {Command::EditUndo, "EditUndo", "&Undo", "Ctrl+Z", 5, Plain},
        {Command::EditAddFolder, "EditAddFolder", "Add F&older...", "Ctrl+Ins", 30, Plain},
        {Command::EditAddUrl, "EditAddUrl", "Add &Bookmark...", "Ins", 29, Plain},
        {Command::EditEditItem, "EditEditItem", "&Edit Item...", "F2", 8, Plain},
        {Command::EditMoveUp, "EditMoveUp", "&Move Item Up", "Ctrl+Up", 9, Plain},
        {Command::EditMoveDown, "EditMoveDown", "Mo&ve Item Down", "Ctrl+Down", 10, Plain},
        {Command::EditCut, "EditCut", "Cu&t", "Ctrl+X", 11, Plain},
        {Command::EditCopy, "EditCopy", "&Copy", "Ctrl+C", 12, Plain},
        {Command::EditPaste, "EditPaste", "&Paste", "Ctrl+V", 13, Plain},
        {Command::EditDelete, "EditDelete", "&Delete", "Del", 14, Plain},
        {Command::EditFind, "EditFind", "&Find...", "Ctrl+F", 15, Plain},
        {Command::EditSearchAgain, "EditSearchAgain", "F&ind Again", "F3", 16, Plain},
        {Command::ViewToolbar, "ViewToolbar", "T&oolbar", "", -1, Check},
        {Command::ViewStatusBar, "ViewStatusBar", "&Status Bar", "", -1, Check},
        {Command::ViewExpandAllFolders, "ViewExpandAllFolders", "&Expand all Folders", "Ctrl+F5", 22, Plain},
        {Command::ViewCollapseAllFolders, "ViewCollapseAllFolders", "&Collapse all Folders", "Ctrl+F6", 23,
         Plain},
        {Command::ViewSortByTitle, "ViewSortByTitle", "Sort by &Title", "", -1, Sort},
        {Command::ViewSortByAddress, "ViewSortByAddress", "Sort by &Address", "", -1, Sort},
        {Command::ViewSortByLastVisit, "ViewSortByLastVisit", "Sort by Last &Visit", "", -1, Sort},
        {Command::ViewSortByAddDate, "ViewSortByAddDate", "Sort by Add &Date", "", -1, Sort},
        {Command::ViewUnsorted, "ViewUnsorted", "&Unsorted", "", -1, Sort},
        {Command::ViewReversedOrder, "ViewReversedOrder", "&Reversed Order", "", -1, Check},
        {Command::ToolsGo, "ToolsGo", "&Go", "Ctrl+Return", 18, Plain},
        {Command::ToolsGoInNewBrowser, "ToolsGoInNewBrowser", "Go in New &Window", "Return", 17, Plain},
        {Command::ToolsFindDuplicates, "ToolsFindDuplicates", "Find &Duplicates...", "Ctrl+Shift+D", -1, Plain},
        {Command::ToolsCheckLinks, "ToolsCheckLinks", "Check &Links...", "Ctrl+Shift+K", -1, Plain},
        {Command::ToolsStatistics, "ToolsStatistics", "S&tatistics...", "", 21, Plain},
        {Command::ToolsPreferences, "ToolsPreferences", "&Preferences...", "", 19, Plain},
        {Command::HelpNavigatorHelp, "HelpNavigatorHelp", "&Help", "F1", 25, Plain},
        {Command::HelpHomePage, "HelpHomePage", "H&ome Page", "", 27, Plain},
        {Command::HelpSupport, "HelpSupport", "&Feedback", "", 28, Plain},
        {Command::HelpAbout, "HelpAbout", "&About...", "", -1, Plain},
    }};
    return table;
}

const CommandInfo& commandInfo(Command command)
{
    return commandTable()[indexOf(command)];
}

std::optional<Command> commandNamed(std::string_view name)
{
    for (const CommandInfo& info : commandTable())
        if (info.name == name)
            return info.command;
    return std::nullopt;
}

const std::vector<MenuInfo>& mainMenu()
{
    using C = Command;
    static const std::vector<MenuInfo> menus = {
        {"mnuFile", "&File",
         {C::FileSave, std::nullopt, C::FileImport, C::FileExport, std::nullopt, C::FileGenHtml, std::nullopt,
          C::FileExit}},
        {"mnuEdit", "&Edit",
         {C::EditUndo, std::nullopt, C::EditAddFolder, C::EditAddUrl, std::nullopt, C::EditEditItem, std::nullopt,
          C::EditMoveUp, C::EditMoveDown, std::nullopt, C::EditCut, C::EditCopy, C::EditPaste, std::nullopt,
          C::EditDelete, std::nullopt, C::EditFind, C::EditSearchAgain}},
        {"mnuView", "&View",
         {C::ViewToolbar, C::ViewStatusBar, std::nullopt, C::ViewExpandAllFolders, C::ViewCollapseAllFolders,
          std::nullopt, C::ViewSortByTitle, C::ViewSortByAddress, C::ViewSortByLastVisit, C::ViewSortByAddDate,
          C::ViewUnsorted, std::nullopt, C::ViewReversedOrder}},
        {"mnuTools", "&Tools",
         {C::ToolsGo, C::ToolsGoInNewBrowser, std::nullopt, C::ToolsFindDuplicates, C::ToolsCheckLinks, C::ToolsStatistics,
          C::ToolsPreferences}},
        {"mnuHelp", "&Help",
         {C::HelpNavigatorHelp, std::nullopt, C::HelpHomePage, C::HelpSupport, std::nullopt, C::HelpAbout}},
    };
    return menus;
}

const CommandList& toolbarCommands()
{
    using C = Command;
    static const CommandList items = {C::FileSave, std::nullopt, C::EditAddFolder, C::EditAddUrl, C::EditEditItem,
                                      C::EditDelete, C::EditUndo, std::nullopt, C::EditMoveUp, C::EditMoveDown,
                                      std::nullopt, C::ToolsGo, C::ToolsGoInNewBrowser, std::nullopt,
                                      C::ToolsStatistics, C::ToolsPreferences, std::nullopt, C::HelpNavigatorHelp};
    return items;
}

const CommandList& contextMenuCommands()
{
    using C = Command;
    static const CommandList items = {C::ToolsGo, C::ToolsGoInNewBrowser, std::nullopt, C::EditMoveUp,
                                      C::EditMoveDown, std::nullopt, C::EditAddFolder, C::EditAddUrl,
                                      C::EditEditItem, std::nullopt, C::EditCut, C::EditCopy, C::EditPaste,
                                      std::nullopt, C::EditDelete};
    return items;
}

} // namespace velloria
