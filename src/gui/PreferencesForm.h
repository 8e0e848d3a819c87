#pragma once

#include "gui/DialogFields.h"
#include "mainwindow/PreferencesDialog.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Preferences": the General page (confirmations, auto-save and what happens at the start), the
// Language page (the language list and an editor for language files) and the Color page (menu,
// toolbar, tree and list colours). The logic is PreferencesDialog's; the form forwards what the
// user does and shows the state after each step.
class PreferencesForm : public QDialog {
    Q_OBJECT

public:
    using ColourChooser = velloria::ColourChooser;
    // The file to save a language to, starting from proposal (a file in the languages
    // directory) with the filter given; empty when the user cancels.
    using FileChooser = std::function<QString(QWidget& parent, const QString& filter, const QString& proposal)>;

    PreferencesForm(MainWindowModel& model, MainForm& owner);
    ~PreferencesForm() override;

    // The standard colour and save dialogs, replaceable (tests answer them without a dialog).
    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // Cancel, Escape and the close box: the dialog closes unless an edited language could not
    // be written.
    void reject() override;

private:
    template <typename Action> bool act(Action&& action);
    void createControls();
    void createButtons();
    QWidget* generalPage();
    QWidget* languagePage();
    QWidget* colourPage();
    QGroupBox* colourGroup(const char* name, std::size_t firstSwatch, std::size_t count);
    void connectControls();
    void connectLanguageControls();
    void showState();
    void showLanguages();
    void showEditor();
    void pickColour(std::size_t swatch);
    void saveLanguageAs();
    void applyClicked();
    void okClicked();

    MainWindowModel& m_model;
    MainForm& m_owner;
    PreferencesDialog m_dialog;
    QTabWidget* m_pages = nullptr;
    std::array<QCheckBox*, kPreferenceCheckCount> m_checks{};
    QSpinBox* m_interval = nullptr;
    QComboBox* m_languages = nullptr;
    QPlainTextEdit* m_editor = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_saveAs = nullptr;
    QPushButton* m_delete = nullptr;
    std::array<QPushButton*, kPreferenceColourCount> m_swatches{};
    QPushButton* m_defaultColours = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
    std::size_t m_shownListRevision = 0;
    std::size_t m_shownEditorRevision = 0;
    bool m_showing = false; // the form sets its controls; their signals are not the user's
    ColourChooser m_chooseColour;
    FileChooser m_chooseFile;
};

} // namespace velloria
