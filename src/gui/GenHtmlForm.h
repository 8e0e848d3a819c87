#pragma once

#include "gui/DialogFields.h"
#include "interchange/HtmlPage.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "HTML Settings": the title, header and welcome texts and the six colours of the HTML page,
// and whether it shows the selected folder only. OK stores them in the preferences, asks where
// to write the page and writes it; Cancel stores nothing.
class GenHtmlForm : public QDialog {
    Q_OBJECT

public:
    using ColourChooser = velloria::ColourChooser;
    // The file to write the page to, preset to preset; empty when the user cancels.
    using FileChooser = std::function<QString(QWidget& parent, const QString& preset)>;

    GenHtmlForm(MainWindowModel& model, MainForm& owner);

    // The standard colour and save dialogs, replaceable (tests answer them without a dialog).
    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    void createControls();
    QGroupBox* textGroup();
    QGroupBox* colourGroup();
    void arrangeControls();
    void fillFields();
    void showColour(std::size_t swatch);
    void pickColour(std::size_t swatch);
    HtmlSettings fields() const;
    void confirm();
    bool generate();

    MainWindowModel& m_model;
    MainForm& m_owner;
    std::array<QLineEdit*, 3> m_texts{};
    std::array<QPushButton*, kHtmlColourCount> m_swatches{};
    std::array<TColor, kHtmlColourCount> m_colours{};
    QCheckBox* m_selectedFolderOnly = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    ColourChooser m_chooseColour;
    FileChooser m_chooseFile;
};

} // namespace velloria
