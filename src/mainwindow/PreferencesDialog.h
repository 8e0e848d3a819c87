#pragma once

#include "settings/PreferenceSources.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// The check boxes of the General page, in the order they stand.
enum class PreferenceCheck { ConfirmDeleting, AutoSave, CreateTrayIcon, Minimized, OpenLastURL, RestoreFolderStates };
inline constexpr std::size_t kPreferenceCheckCount = 6;

// The colours of the Color page, in the order of PreferencesDialogSettings::colours.
inline constexpr std::size_t kPreferenceColourCount = 8;
// What Default Colors gives them.
extern const std::array<TColor, kPreferenceColourCount> kDefaultPreferenceColours;

inline constexpr int kMinimumSaveInterval = 1;
inline constexpr int kMaximumSaveInterval = 60;

// The logic of the Preferences dialog: the state of its controls (check boxes, the interval, the
// colours, the language list with its editor, the enabled buttons) and what its buttons do.
// While it exists, the preferences take their dialog settings from it, so that a save stores
// what the dialog shows. Questions go to the main window model's view. A file that cannot be
// written throws the program's error and leaves the state as it was before the step.
class PreferencesDialog : private PreferencesDialogSource {
public:
    // Fills the controls from the preferences and selects the stored language; Apply is off.
    explicit PreferencesDialog(MainWindowModel& model);
    ~PreferencesDialog() override;
    PreferencesDialog(const PreferencesDialog&) = delete;
    PreferencesDialog& operator=(const PreferencesDialog&) = delete;

    bool applyEnabled() const { return m_applyEnabled; }
    int page() const { return m_settings.page; }
    void setPage(int page) { m_settings.page = page; }

    // The General page.
    bool checked(PreferenceCheck box) const;
    void setChecked(PreferenceCheck box, bool checked);
    int saveInterval() const { return m_settings.saveInterval; }
    bool saveIntervalEnabled() const { return m_settings.autoSave; }
    void setSaveInterval(int minutes);

    // The Color page.
    TColor colour(std::size_t swatch) const { return m_settings.colours[swatch]; }
    void setColour(std::size_t swatch, TColor colour);
    void setDefaultColours();

    // The Language page: position 0 is the built-in English, the others the language files.
    const std::vector<std::string>& languageNames() const { return m_languageNames; }
    int languagePosition() const { return m_settings.languagePosition; }
    // The list was filled anew (Save As, Delete); views refill their list when it changes.
    std::size_t languageListRevision() const { return m_listRevision; }
    void selectLanguage(int position);

    // The editor's text: lines separated by LF. The revision changes whenever the dialog puts a
    // new text in, not when the user types.
    const std::string& editorText() const { return m_editorText; }
    std::size_t editorRevision() const { return m_editorRevision; }
    bool editorReadOnly() const { return m_editorReadOnly; }
    bool editEnabled() const { return m_languageButtonsEnabled; }
    bool saveEnabled() const { return m_saveEnabled; }
    bool saveAsEnabled() const { return m_languageButtonsEnabled; }
    bool deleteEnabled() const { return m_languageButtonsEnabled; }

    void edit();
    // What the user typed: the editor's whole text.
    void editorChanged(std::string text);
    void save();
    // Where Save As starts: the file of the selected language in the languages directory, and
    // the filter text of language files.
    std::filesystem::path saveAsProposal() const;
    std::string saveAsFilter() const;
    // The file the user chose, or nullopt when the save dialog was cancelled.
    void saveAs(const std::optional<std::filesystem::path>& chosen);
    void deleteLanguage();

    // Apply, and OK before the dialog closes: stores the preferences, writes an edited language
    // when the user says so, and has the main window take the preferences and texts.
    void apply();
    // Cancel and the close box: only an edited language is written, when the user says so.
    void cancel();

private:
    PreferencesDialogSettings preferenceSettings() const override { return m_settings; }
    void fillLanguageList();
    int storedLanguagePosition() const;
    void showSelectedLanguage(int position);
    void setEditorText(std::string text);
    void askToSaveEditor(const std::filesystem::path& file);
    void writeEditor(const std::filesystem::path& file) const;
    std::filesystem::path languageFilePath(int position) const;

    MainWindowModel& m_model;
    PreferencesDialogSettings m_settings;
    std::vector<std::string> m_languageNames;
    std::size_t m_listRevision = 0;
    std::string m_editorText;
    std::size_t m_editorRevision = 0;
    bool m_editorReadOnly = true;
    bool m_languageButtonsEnabled = false;
    bool m_saveEnabled = false;
    bool m_applyEnabled = false;
};

} // namespace velloria
