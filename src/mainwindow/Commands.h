#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace velloria {

// The commands of the main window, in the order of its command table.
enum class Command {
    FileSave,
    FileImport,
    FileExport,
    FileGenHtml,
    FileExit,
    EditUndo,
    EditAddFolder,
    EditAddUrl,
    EditEditItem,
    EditMoveUp,
    EditMoveDown,
    EditCut,
    EditCopy,
    EditPaste,
    EditDelete,
    EditFind,
    EditSearchAgain,
    ViewToolbar,
    ViewStatusBar,
    ViewExpandAllFolders,
    ViewCollapseAllFolders,
    ViewSortByTitle,
    ViewSortByAddress,
    ViewSortByLastVisit,
    ViewSortByAddDate,
    ViewUnsorted,
    ViewReversedOrder,
    ToolsGo,
    ToolsGoInNewBrowser,
    ToolsFindDuplicates,
    ToolsCheckLinks,
    ToolsStatistics,
    ToolsPreferences,
    HelpNavigatorHelp,
    HelpHomePage,
    HelpSupport,
    HelpAbout,
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::HelpAbout) + 1;

enum class CommandKind { Plain, Check, SortChoice };

// A command as the window designs it: its name (also the object name of its action, by which
// the caption table gives it its texts), its design-time caption, shortcut (Qt key sequence
// text) and image of the main image list (-1 none).
struct CommandInfo {
    Command command;
    std::string_view name;
    std::string_view caption;
    std::string_view shortcut;
    int image;
    CommandKind kind;
};

// The command of an action name; nullopt for a name that is no command.
std::optional<Command> commandNamed(std::string_view name);

const CommandInfo& commandInfo(Command command);
const std::array<CommandInfo, kCommandCount>& commandTable();

inline std::size_t indexOf(Command command)
{
    return static_cast<std::size_t>(command);
}

// A menu, toolbar or context menu: commands in order, nullopt for a separator.
using CommandList = std::vector<std::optional<Command>>;

struct MenuInfo {
    std::string_view name;    // object name, as the caption table names it
    std::string_view caption; // design-time caption
    CommandList items;
};

const std::vector<MenuInfo>& mainMenu();
const CommandList& toolbarCommands();
const CommandList& contextMenuCommands();

// The sort commands by sort mode (0 title, 1 address, 2 last visit, 3 add date, 4 unsorted).
inline constexpr std::array<Command, 5> kSortCommands = {Command::ViewSortByTitle, Command::ViewSortByAddress,
                                                         Command::ViewSortByLastVisit, Command::ViewSortByAddDate,
                                                         Command::ViewUnsorted};

} // namespace velloria
