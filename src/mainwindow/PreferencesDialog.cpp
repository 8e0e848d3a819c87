#include "mainwindow/PreferencesDialog.h"

#include "base/TextLines.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "settings/LanguageFile.h"

#include <algorithm>
#include <utility>

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

// The editor shows a file as its lines; CR LF, LF and lone CR all end a line.
std::string editorTextOf(std::string_view bytes)
{
    std::string text;
    bool first = true;
    forEachLine(bytes, [&](std::string_view line) {
        if (!std::exchange(first, false))
            text += '\n';
        text += line;
    });
    return text;
}

} // namespace

PreferencesDialog::PreferencesDialog(MainWindowModel& model)
    : m_model(model), m_settings(settingsOf(model.prefs()))
{
    model.preferences().setPreferencesDialog(this);
    fillLanguageList();
    showSelectedLanguage(storedLanguagePosition());
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

// --- The language list and its editor ----------------------------------------------------------

void PreferencesDialog::fillLanguageList()
{
    LanguageList list = EnumerateLanguages(m_model.preferences().languagesDirectory());
    m_settings.languageFiles = std::move(list.LanguageFiles);
    m_languageNames.assign(1, std::string(kBuiltInLanguageName));
    m_languageNames.insert(m_languageNames.end(), list.LanguageNames.begin(), list.LanguageNames.end());
    ++m_listRevision;
}

// The position of the language in use, found by its file: a stored list position would name
// another language once a file that sorts earlier is added. A file the list no longer has gives
// the built-in English.
int PreferencesDialog::storedLanguagePosition() const
{
    const TPreferences& prefs = m_model.prefs();
    if (prefs.UseDefaultLanguage && prefs.LanguageFile == "0")
        return 0;
    const std::filesystem::path inUse(prefs.LanguageFile);
    const std::filesystem::path directory = m_model.preferences().languagesDirectory();
    for (std::size_t i = 0; i < m_settings.languageFiles.size(); ++i) {
        std::error_code error;
        if (std::filesystem::equivalent(inUse, directory / m_settings.languageFiles[i], error))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::filesystem::path PreferencesDialog::languageFilePath(int position) const
{
    return m_model.preferences().languagesDirectory() /
           m_settings.languageFiles.at(static_cast<std::size_t>(position) - 1);
}

void PreferencesDialog::selectLanguage(int position)
{
    if (position < 0 || position >= static_cast<int>(m_languageNames.size()))
        return;
    // The edited text belongs to the language selected until now.
    if (m_saveEnabled)
        askToSaveEditor(languageFilePath(m_settings.languagePosition));
    showSelectedLanguage(position);
    m_applyEnabled = true;
}

// Brings the editor and the buttons in line with the position, without asking about edits.
void PreferencesDialog::showSelectedLanguage(int position)
{
    m_settings.languagePosition = position;
    m_editorReadOnly = true;
    m_saveEnabled = false;
    m_languageButtonsEnabled = position > 0;
    if (position == 0) {
        setEditorText({});
        return;
    }
    // A file that has gone since the list was filled leaves the editor as it is.
    if (const auto bytes = readFileIfExists(languageFilePath(position)))
        setEditorText(editorTextOf(*bytes));
}

void PreferencesDialog::setEditorText(std::string text)
{
    m_editorText = std::move(text);
    ++m_editorRevision;
}

void PreferencesDialog::edit()
{
    if (m_languageButtonsEnabled)
        m_editorReadOnly = false;
}

void PreferencesDialog::editorChanged(std::string text)
{
    m_editorText = std::move(text);
    if (!m_editorReadOnly)
        m_saveEnabled = true;
}

void PreferencesDialog::save()
{
    if (!m_saveEnabled)
        return;
    askToSaveEditor(languageFilePath(m_settings.languagePosition));
    m_saveEnabled = false;
    m_applyEnabled = true;
}

void PreferencesDialog::askToSaveEditor(const std::filesystem::path& file)
{
    if (m_model.ask(m_model.texts()[text::SaveChanges]) == Answer::Yes)
        writeEditor(file);
}

void PreferencesDialog::writeEditor(const std::filesystem::path& file) const
{
    LineWriter writer;
    forEachLine(m_editorText, [&](std::string_view line) { writer.line(line); });
    writeFileAtomically(file, writer.take());
}

std::filesystem::path PreferencesDialog::saveAsProposal() const
{
    if (m_settings.languagePosition <= 0)
        return m_model.preferences().languagesDirectory();
    return languageFilePath(m_settings.languagePosition);
}

std::string PreferencesDialog::saveAsFilter() const
{
    return m_model.texts()[text::LanguageFileFilter] + " (*.lng)";
}

void PreferencesDialog::saveAs(const std::optional<std::filesystem::path>& chosen)
{
    if (chosen)
        writeEditor(*chosen);
    // The list is read anew, as the new file may belong in it, and shows the language of the
    // preferences again.
    fillLanguageList();
    showSelectedLanguage(storedLanguagePosition());
    if (chosen)
        m_applyEnabled = true;
}

void PreferencesDialog::deleteLanguage()
{
    if (!m_languageButtonsEnabled ||
        m_model.ask(m_model.texts()[text::DeleteLanguageQuestion]) != Answer::Yes)
        return;
    removeFileIfExists(languageFilePath(m_settings.languagePosition));
    fillLanguageList();
    showSelectedLanguage(0);
    m_applyEnabled = true;
}

// --- Apply, OK and Cancel ----------------------------------------------------------------------

void PreferencesDialog::apply()
{
    m_model.preferences().SavePreferences();
    if (m_saveEnabled) {
        askToSaveEditor(languageFilePath(m_settings.languagePosition));
        m_saveEnabled = false;
    }
    m_model.preferencesApplied();
    m_applyEnabled = false;
}

void PreferencesDialog::cancel()
{
    if (m_saveEnabled) {
        askToSaveEditor(languageFilePath(m_settings.languagePosition));
        m_saveEnabled = false;
    }
}

} // namespace velloria
