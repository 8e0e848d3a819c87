#include "gui/GenHtmlForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtColor.h"
#include "gui/QtText.h"
#include "settings/UIText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace velloria {

namespace {

// Wide enough for a title or a short sentence of welcome.
constexpr int kFieldWidthInCharacters = 44;

struct Row {
    const char* label;
    const char* labelName;
    const char* controlName;
};

constexpr std::array<Row, 3> kTextRows = {{
    {"Title:", "lblTitle", "edTitle"},
    {"Welcome Header:", "lblHeaderMessage", "edHeaderMessage"},
    {"Welcome Message:", "lblWelcomeMessage", "edWelcomeMessage"},
}};

// In the order of HtmlColour.
constexpr std::array<Row, kHtmlColourCount> kColourRows = {{
    {"Text:", "lblText", "stText"},
    {"Background:", "lblBackground", "stBackground"},
    {"Header Area:", "lblHeaderArea", "stHeaderArea"},
    {"Welcome Area:", "lblWelcomeArea", "stWelcomeArea"},
    {"Bookmark Area 1:", "lblBookmarkArea1", "stBookmarkArea1"},
    {"Bookmark Area 2:", "lblBookmarkArea2", "stBookmarkArea2"},
}};

QLabel* rowLabel(const Row& row, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromLatin1(row.label));
    label->setObjectName(QString::fromLatin1(row.labelName));
    label->setBuddy(buddy);
    return label;
}

QString standardSaveDialog(QWidget& parent, const QString& preset)
{
    QFileDialog dialog(&parent, parent.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The patterns need the dot: "*html" would offer "xhtml" files too, and "*.*" would hide
    // files without an extension.
    dialog.setNameFilters({QStringLiteral("HTML file (*.html)"), QStringLiteral("HTM file (*.htm)"),
                           QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("html"));
    // The dialog asks before it replaces an existing file (QFileDialog::DontConfirmOverwrite is off).
    dialog.selectFile(preset);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

GenHtmlForm::GenHtmlForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_model(model), m_owner(owner), m_chooseColour(standardColourDialog),
      m_chooseFile(standardSaveDialog)
{
    setObjectName(QStringLiteral("GenHtmlForm"));
    setWindowTitle(QStringLiteral("HTML Settings"));
    createControls();
    arrangeControls();
    applyTexts(*this, TextWindow::HtmlSettings, model.texts());
    fillFields();
    m_texts[0]->setFocus();
}

void GenHtmlForm::createControls()
{
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new QLineEdit;
        m_texts[i]->setObjectName(QString::fromLatin1(kTextRows[i].controlName));
        m_texts[i]->setMinimumWidth(m_texts[i]->fontMetrics().averageCharWidth() * kFieldWidthInCharacters);
    }
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        m_swatches[i] = colourSwatch(QString::fromLatin1(kColourRows[i].controlName));
        connect(m_swatches[i], &QPushButton::clicked, this, [this, i] { pickColour(i); });
    }
    m_selectedFolderOnly = new QCheckBox(QStringLiteral("Generate from selected folder only"));
    m_selectedFolderOnly->setObjectName(QStringLiteral("chkGenSelFold"));
    m_ok = dialogButton(QStringLiteral("OK"), QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
    connect(m_ok, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* GenHtmlForm::textGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Text Info"));
    group->setObjectName(QStringLiteral("grbTextInfo"));
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        grid->addWidget(rowLabel(kTextRows[i], m_texts[i]), static_cast<int>(i), 0);
        grid->addWidget(m_texts[i], static_cast<int>(i), 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox* GenHtmlForm::colourGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Color Scheme"));
    group->setObjectName(QStringLiteral("grbColorScheme"));
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        grid->addWidget(rowLabel(kColourRows[i], m_swatches[i]), static_cast<int>(i), 0);
        grid->addWidget(m_swatches[i], static_cast<int>(i), 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

void GenHtmlForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup());
    layout->addWidget(colourGroup());
    layout->addWidget(m_selectedFolderOnly);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Tab goes down the dialog, the way it reads.
    QWidget* previous = m_texts[0];
    for (QWidget* next : {static_cast<QWidget*>(m_texts[1]), static_cast<QWidget*>(m_texts[2])})
        setTabOrder(std::exchange(previous, next), next);
    for (QPushButton* next : m_swatches)
        setTabOrder(std::exchange(previous, next), next);
    for (QWidget* next : {static_cast<QWidget*>(m_selectedFolderOnly), static_cast<QWidget*>(m_ok),
                          static_cast<QWidget*>(m_cancel)})
        setTabOrder(std::exchange(previous, next), next);
}

void GenHtmlForm::fillFields()
{
    const HtmlSettings settings = htmlSettings(m_model.prefs());
    m_texts[0]->setText(toQString(settings.texts.title));
    m_texts[1]->setText(toQString(settings.texts.headerMessage));
    m_texts[2]->setText(toQString(settings.texts.welcomeMessage));
    m_colours = settings.colours;
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        showColour(i);
    m_selectedFolderOnly->setChecked(settings.selectedFolderOnly);
}

void GenHtmlForm::showColour(std::size_t swatch)
{
    showSwatchColour(*m_swatches[swatch], toQColor(m_colours[swatch], palette()));
}

void GenHtmlForm::pickColour(std::size_t swatch)
{
    const std::optional<QColor> chosen = m_chooseColour(*this, toQColor(m_colours[swatch], palette()));
    if (!chosen)
        return;
    m_colours[swatch] = toTColor(*chosen);
    showColour(swatch);
}

HtmlSettings GenHtmlForm::fields() const
{
    return {{toBytes(m_texts[0]->text()), toBytes(m_texts[1]->text()), toBytes(m_texts[2]->text())},
            m_colours,
            m_selectedFolderOnly->isChecked()};
}

// The settings are stored first: they stay, even when no page is written in the end.
void GenHtmlForm::confirm()
{
    storeHtmlSettings(m_model.preferences().record(), fields());
    if (generate())
        accept();
}

bool GenHtmlForm::generate()
{
    std::optional<std::size_t> onlyFolder;
    if (m_selectedFolderOnly->isChecked()) {
        if (m_model.tree().selectedFolder() == MainWindowModel::npos) {
            m_model.message(m_model.texts()[text::SelectFolderFirst]);
            return false;
        }
        onlyFolder = m_model.tree().selectedFolder();
    }
    TPreferences& prefs = m_model.preferences().record();
    const QString preset = toQString(htmlFileLocation(prefs, m_model.library().paths().home()).string());
    const QString chosen = m_chooseFile(*this, preset);
    if (chosen.isEmpty())
        return false;
    const QPalette shown = palette();
    const ColourResolver resolve = [shown](TColor colour) { return toQColor(colour, shown).rgb() & 0xFFFFFFu; };
    const std::string path = toBytes(chosen);
    if (!m_owner.run([&] { writeHtmlPage(m_model.library(), prefs, path, onlyFolder, resolve); }))
        return false;
    prefs.HtmlFile = path;
    return true;
}

} // namespace velloria
