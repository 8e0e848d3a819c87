#pragma once

#include "settings/PreferenceSources.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// The Language page of the Preferences dialog: the list of languages, with the built-in English
// at position 0 and the language files after it, and the editor that shows, edits and saves the
// selected file. A part of the dialog: it keeps the selected position and the files in the
// dialog's settings, and turns on the dialog's Apply when it changes what Apply stores. Questions
// go to the main window model's view; a file that cannot be written throws the program's error.
class LanguagePage {
public:
    LanguagePage(MainWindowModel& model, PreferencesDialogSettings& settings, bool& applyEnabled);
    LanguagePage(const LanguagePage&) = delete;
    LanguagePage& operator=(const LanguagePage&) = delete;

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

    // The list read from the languages directory, showing the language of the preferences.
    void showStoredLanguage();
    // An edited text is written to its file when the user says so (Apply, OK and Cancel).
    void offerToSaveEdits();

private:
    void fillLanguageList();
    int storedLanguagePosition() const;
    void showSelectedLanguage(int position);
    void setEditorText(std::string text);
    void askToSaveEditor(const std::filesystem::path& file);
    void writeEditor(const std::filesystem::path& file) const;
    std::filesystem::path languageFilePath(int position) const;

    MainWindowModel& m_model;
    PreferencesDialogSettings& m_settings;
    bool& m_applyEnabled;
    std::vector<std::string> m_languageNames;
    std::size_t m_listRevision = 0;
    std::string m_editorText;
    std::size_t m_editorRevision = 0;
    bool m_editorReadOnly = true;
    bool m_languageButtonsEnabled = false;
    bool m_saveEnabled = false;
};

} // namespace velloria
