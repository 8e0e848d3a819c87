#include "mainwindow/PreferencesDialog.h"

#include "mainwindow/MainWindowModel.h"

#include <algorithm>

namespace velloria {

const std::array<TColor, kPreferenceColourCount> kDefaultPreferenceColours = {
    13003057, 15717318, clWindowText, 0, clWindow, clWindowText, clWindow, clWindowText};

namespace {

using Settings = PreferencesDialogSettings;

// In the order of PreferenceCheck.
constexpr std::array<bool Settings::*, kPreferenceCheckCount> kCheckFields = {
    &Settings::confirmDeleting, &Settings::autoSave,    &Settings::createTrayIcon,
    &Settings::minimized,       &Settings::openLastURL, &Settings::restoreFolderStates};

// In the order of the swatches.
constexpr std::array<TColor TPreferences::*, kPreferenceColourCount> kColourFields = {
    &TPreferences::MenuItemFrameColor,  &TPreferences::MenuItemColor,       &TPreferences::MenuFontColor,
    &TPreferences::MenuSelectedFontColor, &TPreferences::TreeBackgroundColor, &TPreferences::TreeFontColor,
    &TPreferences::ListBackgroundColor, &TPreferences::ListFontColor};

constexpr int kPageCount = 3;

Settings settingsOf(const TPreferences& prefs)
{
    Settings settings{.confirmDeleting = prefs.ConfirmDeleting,
                      .autoSave = prefs.AutoSave,
                      .createTrayIcon = prefs.CreateTrayIcon,
                      .minimized = prefs.Minimized,
                      .openLastURL = prefs.OpenLastURL,
                      .restoreFolderStates = prefs.RestoreFolderStates,
                      .page = prefs.PreferencesPage >= 0 && prefs.PreferencesPage < kPageCount ? prefs.PreferencesPage : 0,
                      .saveInterval = std::clamp(prefs.SaveInterval, kMinimumSaveInterval, kMaximumSaveInterval)};
    for (std::size_t i = 0; i < kPreferenceColourCount; ++i)
        settings.colours[i] = prefs.*kColourFields[i];
    return settings;
}


} // namespace

PreferencesDialog::PreferencesDialog(MainWindowModel& model)
    : m_model(model), m_settings(settingsOf(model.prefs()))
{
    model.preferences().setPreferencesDialog(this);
    m_language.showStoredLanguage();
    m_applyEnabled = false;
}

PreferencesDialog::~PreferencesDialog()
{
    m_model.preferences().setPreferencesDialog(nullptr);
}

bool PreferencesDialog::checked(PreferenceCheck box) const
{
    return m_settings.*kCheckFields[static_cast<std::size_t>(box)];
}

void PreferencesDialog::setChecked(PreferenceCheck box, bool checked)
{
    m_settings.*kCheckFields[static_cast<std::size_t>(box)] = checked;
    m_applyEnabled = true;
}

void PreferencesDialog::setSaveInterval(int minutes)
{
    m_settings.saveInterval = std::clamp(minutes, kMinimumSaveInterval, kMaximumSaveInterval);
    m_applyEnabled = true;
}

void PreferencesDialog::setColour(std::size_t swatch, TColor colour)
{
    m_settings.colours[swatch] = colour;
    m_applyEnabled = true;
}

void PreferencesDialog::setDefaultColours()
{
    m_settings.colours = kDefaultPreferenceColours;
    m_applyEnabled = true;
}

// --- Apply, OK and Cancel ----------------------------------------------------------------------

void PreferencesDialog::apply()
{
    m_model.preferences().SavePreferences();
    m_language.offerToSaveEdits();
    m_model.preferencesApplied();
    m_applyEnabled = false;
}

void PreferencesDialog::cancel()
{
    m_language.offerToSaveEdits();
}

} // namespace velloria
