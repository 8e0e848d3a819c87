#pragma once

#include "base/Color.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace velloria {

// The program's preferences and remembered layout, one field per entry of Tessel.cfg. A new
// record holds the zero value of every type; SetDefaultPreferences gives the defaults.
struct TPreferences {
    std::string PrefsVersion;
    std::string HtmlTitle;
    std::string HtmlHeaderMessage;
    bool ConfirmDeleting = false;
    std::string HtmlWelcomeMessage;
    bool AutoSave = false;
    TColor HtmlTextColor = 0;
    bool Spare007 = false;
    bool CreateTrayIcon = false;
    bool Minimized = false;
    bool OpenLastURL = false;
    std::int32_t SaveInterval = 0;
    bool RestoreFolderStates = false;
    bool UseDefaultLanguage = false;
    std::string LanguageFile;
    TColor MenuItemFrameColor = 0;
    TColor MenuItemColor = 0;
    TColor MenuFontColor = 0;
    TColor MenuSelectedFontColor = 0;
    TColor TreeBackgroundColor = 0;
    TColor TreeFontColor = 0;
    TColor ListBackgroundColor = 0;
    TColor ListFontColor = 0;
    bool Spare023 = false;
    std::int32_t MainLeft = 0;
    std::int32_t MainTop = 0;
    std::int32_t MainHeight = 0;
    std::int32_t MainWidth = 0;
    bool MainMaximized = false;
    std::int32_t PreferencesPage = 0;
    std::int32_t LanguageIndex = 0;
    std::int32_t ColumnWidthTitle = 0;
    std::int32_t ColumnWidthAddress = 0;
    std::int32_t ColumnWidthLastVisit = 0;
    std::int32_t ColumnWidthAddDate = 0;
    std::int32_t FolderPaneWidth = 0;
    std::int32_t DescriptionHeight = 0;
    bool AddFolderInFolder = false;
    bool ShowToolbar = false;
    bool ShowStatusBar = false;
    std::int32_t SortMode = 0;
    bool ReversedOrder = false;
    bool ImportIE = false;
    bool ImportNetscape = false;
    bool ImportOpera = false;
    std::string IEFavoritesDir;
    std::string NetscapeFile;
    std::string OperaFile;
    bool ExportIE = false;
    bool ExportNetscape = false;
    bool ExportOpera = false;
    TColor HtmlBackgroundColor = 0;
    TColor HtmlHeaderAreaColor = 0;
    TColor HtmlWelcomeAreaColor = 0;
    TColor HtmlBookmarkArea1Color = 0;
    TColor HtmlBookmarkArea2Color = 0;
    bool HtmlSelectedFolderOnly = false;
    std::string HtmlFile;
    std::string LastLinkTitle;
    std::string LastFolderName;
    bool operator==(const TPreferences&) const = default;
};

// How an entry is stored and read. Strict booleans accept only "True" and "False", and any other
// value resets the whole record to the defaults; lax booleans also take any letter case or a
// number (0 false, anything else true).
enum class PreferenceKind { Text, Integer, Colour, StrictBoolean, LaxBoolean };

struct PreferenceEntry {
    int number;
    std::string_view name;
    PreferenceKind kind;
    // The default as the file writes it. For a path default, the file name in the user's home.
    std::string_view defaultValue;
    std::variant<std::string TPreferences::*, std::int32_t TPreferences::*, bool TPreferences::*> field;
    bool defaultInUserHome = false;
};

inline constexpr std::size_t kPreferenceCount = 60;
extern const std::array<PreferenceEntry, kPreferenceCount> kPreferenceEntries;

// Every field to its default. Paths that default to a file ("bookmarks.html" and the like) are
// taken in the user's home directory.
void SetDefaultPreferences(TPreferences& preferences, const std::filesystem::path& userHome);

// The entry's value as the file holds it.
std::string preferenceText(const TPreferences& preferences, const PreferenceEntry& entry);

enum class PreferenceRead { Taken, Skipped, ResetToDefaults };
// Stores the file's text in the entry's field when it reads as the entry's kind.
PreferenceRead readPreference(TPreferences& preferences, const PreferenceEntry& entry, std::string_view text);

} // namespace velloria
