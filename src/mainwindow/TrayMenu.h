#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class Library;
class MainWindowModel;
class TFolderTree;
class UIText;

// Images of the tray menu, numbered as the main image list numbers them.
inline constexpr int kTrayFolderImage = 6;
inline constexpr int kTrayLinkImage = 31;
inline constexpr int kTrayPreferencesImage = 19;
inline constexpr int kTrayExitImage = 4;

// The fixed items of the menu of the notification-area icon.
enum class TrayItem { ShowMainWindow, Preferences, Launch, AddToFolder, Exit, Separator };

struct TrayMenuItem {
    TrayItem item = TrayItem::Separator;
    std::string_view name; // object name of the menu item; empty for a separator
    std::string caption;   // with "&" marking the accelerator, as the text table has it
    int image = -1;
    bool operator==(const TrayMenuItem&) const = default;
};

// The fixed items in order, captioned in the language the texts hold.
std::vector<TrayMenuItem> trayMenuItems(const UIText& texts);

// An entry of the Launch or the Add to Folder menu. Menus are filled one level at a time, when
// they open, so a large library costs only what the user looks at.
enum class TrayEntryKind { Submenu, Link, FolderChoice };

struct TrayEntry {
    TrayEntryKind kind = TrayEntryKind::Submenu;
    std::string caption; // library bytes
    int image = -1;
    std::size_t folder = 0;       // the folder the entry opens, holds the link, or chooses
    std::size_t row = 0;          // Link: its row in the folder's link file
    std::string address;          // Link: its address, telling rows of one title apart
    bool operator==(const TrayEntry&) const = default;
};

inline constexpr std::size_t kTrayTopLevel = static_cast<std::size_t>(-1);

// One Launch menu: for kTrayTopLevel a submenu per top-level folder; for a folder, its links as
// its link file on disk holds them (none when it has no file), then a submenu per subfolder.
// Links only in the list on screen are not in the file and not in the menu.
std::vector<TrayEntry> launchEntries(const Library& library, std::size_t folder);

// One Add to Folder menu: for kTrayTopLevel a submenu per top-level folder; for a folder,
// "<<name>>" that chooses it, then a submenu per subfolder.
std::vector<TrayEntry> addToFolderEntries(const TFolderTree& tree, std::size_t folder);

// The row of the list that a Launch entry stands for: the row of the file when it still holds
// that link there, otherwise the first row with the same title and address, otherwise the
// first with exactly the same title; npos when there is none.
std::size_t trayLinkRow(const TLinkList& list, const TrayEntry& link);

// A Launch entry clicked: its folder and its row are selected and the link is opened in a new
// browser window, as a double click in the list opens it. Nothing happens while a dialog is open,
// nor for an entry whose folder or link is gone.
void launchTrayLink(MainWindowModel& model, const TrayEntry& link);

// The web address the clipboard holds: one line starting with "http://", "https://" or "www."
// (in any letter case) with more after it, without the blanks around it; empty otherwise.
std::string clipboardWebAddress(std::string_view clipboardText);

// A folder chosen in Add to Folder: the folder is selected and the Add Bookmark dialog opens
// for a new link, its address taken from the clipboard when it holds a web address. Nothing
// happens while a dialog is open.
void addLinkToTrayFolder(MainWindowModel& model, std::size_t folder, std::string_view clipboardText);

} // namespace velloria
