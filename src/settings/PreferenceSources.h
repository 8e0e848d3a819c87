#pragma once

#include "settings/PreferenceRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velloria {

// The main window's own measures, which the preferences keep between runs. The bounds are those
// of the normal window, also while it is maximized, so that it comes back to them.
struct WindowGeometry {
    std::array<std::int32_t, 4> columnWidths{}; // Title, Address, Last Visit, Add Date
    std::int32_t folderPaneWidth = 0;
    std::int32_t descriptionHeight = 0;
    bool maximized = false;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
    bool operator==(const WindowGeometry&) const = default;
};

// The measures as the preferences hold them.
WindowGeometry storedWindowGeometry(const TPreferences& preferences);

// What the preferences take from the main window when they are saved.
struct MainWindowLayout {
    WindowGeometry geometry;
    bool toolbarChecked = false;
    bool statusBarChecked = false;
    std::array<bool, 5> sortChecked{}; // Title, Address, Last Visit, Add Date, Unsorted
    bool reversedChecked = false;
};

class MainWindowPreferenceSource {
public:
    virtual ~MainWindowPreferenceSource() = default;
    virtual MainWindowLayout preferenceLayout() const = 0;
};

// What the preferences take from the Preferences dialog while it exists.
struct PreferencesDialogSettings {
    bool confirmDeleting = false;
    bool autoSave = false;
    bool createTrayIcon = false;
    bool minimized = false;
    bool openLastURL = false;
    bool restoreFolderStates = false;
    std::int32_t page = 0;
    std::int32_t saveInterval = 1;
    // MenuItemFrameColor, MenuItemColor, MenuFontColor, MenuSelectedFontColor,
    // TreeBackgroundColor, TreeFontColor, ListBackgroundColor, ListFontColor.
    std::array<TColor, 8> colours{};
    // The position chosen in the language list (0: the built-in English) and the file names of
    // the positions from 1 on.
    std::int32_t languagePosition = 0;
    std::vector<std::string> languageFiles;
};

class PreferencesDialogSource {
public:
    virtual ~PreferencesDialogSource() = default;
    virtual PreferencesDialogSettings preferenceSettings() const = 0;
};

} // namespace velloria
