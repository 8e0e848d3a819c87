#include "mainwindow/LanguagePage.h"

#include "base/TextLines.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "settings/LanguageFile.h"

#include <utility>

namespace velloria {

namespace {

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

LanguagePage::LanguagePage(MainWindowModel& model, PreferencesDialogSettings& settings, bool& applyEnabled)
    : m_model(model), m_settings(settings), m_applyEnabled(applyEnabled)
{
}

void LanguagePage::showStoredLanguage()
{
    fillLanguageList();
    showSelectedLanguage(storedLanguagePosition());
}

void LanguagePage::offerToSaveEdits()
{
    if (!m_saveEnabled)
        return;
    askToSaveEditor(languageFilePath(m_settings.languagePosition));
    m_saveEnabled = false;
}

void LanguagePage::fillLanguageList()
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
int LanguagePage::storedLanguagePosition() const
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

std::filesystem::path LanguagePage::languageFilePath(int position) const
{
    return m_model.preferences().languagesDirectory() /
           m_settings.languageFiles.at(static_cast<std::size_t>(position) - 1);
}

void LanguagePage::selectLanguage(int position)
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
void LanguagePage::showSelectedLanguage(int position)
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

void LanguagePage::setEditorText(std::string text)
{
    m_editorText = std::move(text);
    ++m_editorRevision;
}

void LanguagePage::edit()
{
    if (m_languageButtonsEnabled)
        m_editorReadOnly = false;
}

void LanguagePage::editorChanged(std::string text)
{
    m_editorText = std::move(text);
    if (!m_editorReadOnly)
        m_saveEnabled = true;
}

void LanguagePage::save()
{
    if (!m_saveEnabled)
        return;
    askToSaveEditor(languageFilePath(m_settings.languagePosition));
    m_saveEnabled = false;
    m_applyEnabled = true;
}

void LanguagePage::askToSaveEditor(const std::filesystem::path& file)
{
    if (m_model.ask(m_model.texts()[text::SaveChanges]) == Answer::Yes)
        writeEditor(file);
}

void LanguagePage::writeEditor(const std::filesystem::path& file) const
{
    LineWriter writer;
    forEachLine(m_editorText, [&](std::string_view line) { writer.line(line); });
    writeFileAtomically(file, writer.take());
}

std::filesystem::path LanguagePage::saveAsProposal() const
{
    if (m_settings.languagePosition <= 0)
        return m_model.preferences().languagesDirectory();
    return languageFilePath(m_settings.languagePosition);
}

std::string LanguagePage::saveAsFilter() const
{
    return m_model.texts()[text::LanguageFileFilter] + " (*.lng)";
}

void LanguagePage::saveAs(const std::optional<std::filesystem::path>& chosen)
{
    if (chosen)
        writeEditor(*chosen);
    // The list is read anew, as the new file may belong in it, and shows the language of the
    // preferences again.
    showStoredLanguage();
    if (chosen)
        m_applyEnabled = true;
}

void LanguagePage::deleteLanguage()
{
    if (!m_languageButtonsEnabled ||
        m_model.ask(m_model.texts()[text::DeleteLanguageQuestion]) != Answer::Yes)
        return;
    removeFileIfExists(languageFilePath(m_settings.languagePosition));
    fillLanguageList();
    showSelectedLanguage(0);
    m_applyEnabled = true;
}

} // namespace velloria
