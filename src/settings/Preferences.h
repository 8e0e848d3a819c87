#pragma once

#include "settings/PreferenceRecord.h"
#include "settings/PreferenceSources.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velloria {

// The program-wide preferences record and its file Tessel.cfg in the home directory. The main
// window and, while it exists, the Preferences dialog register themselves as sources, so that a
// save takes their current state.
class Preferences {
public:
    // userHome is where path preferences default to (the user's own home directory).
    Preferences(std::filesystem::path home, std::filesystem::path userHome);

    TPreferences& record() { return m_record; }
    const TPreferences& record() const { return m_record; }
    std::filesystem::path filePath() const { return m_home / "Tessel.cfg"; }
    // The user's own home directory, where path preferences point by default.
    const std::filesystem::path& userHome() const { return m_userHome; }
    std::filesystem::path languagesDirectory() const { return m_home / "Languages"; }

    // Reads Tessel.cfg into the record. A missing file, a wrong version or a strict boolean that
    // is neither "True" nor "False" gives the defaults. Lines that cannot be read are skipped and
    // counted. A file that exists but cannot be read gives the defaults and throws.
    std::size_t LoadPreferences();
    // Collects the sources' state, then writes the whole file.
    void SavePreferences();
    void SetDefaultPreferences();
    void CollectPreferences();

    void setMainWindow(const MainWindowPreferenceSource* mainWindow) { m_mainWindow = mainWindow; }
    void setPreferencesDialog(const PreferencesDialogSource* dialog) { m_dialog = dialog; }
    bool preferencesDialogExists() const { return m_dialog != nullptr; }

private:
    void collectMainWindow(const MainWindowLayout& layout);
    void collectDialog(const PreferencesDialogSettings& settings);

    std::filesystem::path m_home;
    std::filesystem::path m_userHome;
    TPreferences m_record;
    const MainWindowPreferenceSource* m_mainWindow = nullptr;
    const PreferencesDialogSource* m_dialog = nullptr;
};

// The bytes of Tessel.cfg for the record.
std::string writePreferencesFile(const TPreferences& preferences);

// Reads the file's bytes into the record; returns the number of lines skipped, or nullopt when
// the record was reset to the defaults (wrong version, bad strict boolean).
std::optional<std::size_t> readPreferencesFile(TPreferences& preferences, std::string_view bytes);

} // namespace velloria
