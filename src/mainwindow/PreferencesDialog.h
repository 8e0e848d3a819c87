#pragma once

#include "mainwindow/LanguagePage.h"
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

    // The Language page: the language list and its editor.
    LanguagePage& language() { return m_language; }
    const LanguagePage& language() const { return m_language; }

    // Apply, and OK before the dialog closes: stores the preferences, writes an edited language
    // when the user says so, and has the main window take the preferences and texts.
    void apply();
    // Cancel and the close box: only an edited language is written, when the user says so.
    void cancel();

private:
    PreferencesDialogSettings preferenceSettings() const override { return m_settings; }

    MainWindowModel& m_model;
    PreferencesDialogSettings m_settings;
    bool m_applyEnabled = false;
    LanguagePage m_language{m_model, m_settings, m_applyEnabled};
};

} // namespace velloria
