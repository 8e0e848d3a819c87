#include "gui/PreferencesForm.h"

#include "gui/ApplyTexts.h"
#include "gui/MainForm.h"
#include "gui/QtColor.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace velloria {

namespace {

// In the order of PreferenceCheck.
constexpr std::array<const char*, kPreferenceCheckCount> kCheckNames = {
    "chkConfirmDeleting", "chkAutoSave", "chkCreateTrayIcon", "chkMinimized", "chkOpenLastURL", "chkRestFoldStates"};

struct SwatchRow {
    const char* labelName;
    const char* swatchName;
};

// In the order of the dialog's colours: four of the menu and toolbar, two of the tree, two of
// the list.
constexpr std::array<SwatchRow, kPreferenceColourCount> kSwatchRows = {{
    {"lblItemFrame", "stItemFrameColor"},
    {"lblItem", "stItemColor"},
    {"lblFont", "stItemFontColor"},
    {"lblSelFont", "stSelectedFontColor"},
    {"lblTreeBackground", "stTreeBackground"},
    {"lblTreeFont", "stTreeFontColor"},
    {"lblListBackground", "stListBackground"},
    {"lblListFont", "stListFontColor"},
}};

// The editor shows a language file of a few hundred short lines; this much of it at a time.
constexpr int kEditorColumns = 52;
constexpr int kEditorLines = 14;

QString name(const char* objectName)
{
    return QString::fromLatin1(objectName);
}

template <typename Widget> Widget* named(Widget* widget, const char* objectName)
{
    widget->setObjectName(name(objectName));
    return widget;
}

QString standardSaveDialog(QWidget& parent, const QString& filter, const QString& proposal)
{
    QFileDialog dialog(&parent, parent.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("lng"));
    const QFileInfo proposed(proposal);
    dialog.setDirectory(proposed.isDir() ? proposal : proposed.absolutePath());
    if (!proposed.isDir())
        dialog.selectFile(proposed.fileName());
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

PreferencesForm::PreferencesForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_model(model), m_owner(owner), m_dialog(model), m_chooseColour(standardColourDialog),
      m_chooseFile(standardSaveDialog)
{
    setObjectName(QStringLiteral("PreferencesForm"));
    createControls();
    applyTexts(*this, TextWindow::Preferences, model.texts());
    connectControls();
    connectLanguageControls();
    m_pages->setCurrentIndex(m_dialog.page());
    showState();
}

PreferencesForm::~PreferencesForm() = default;

// Runs a step of the dialog's logic, shows an error in the program's message box, and shows the
// state after it either way.
template <typename Action> bool PreferencesForm::act(Action&& action)
{
    const bool done = m_owner.run(std::forward<Action>(action));
    showState();
    return done;
}

// --- Building the dialog -----------------------------------------------------------------------

void PreferencesForm::createControls()
{
    m_pages = named(new QTabWidget, "pgcPreferences");
    m_pages->addTab(generalPage(), QString());
    m_pages->addTab(languagePage(), QString());
    m_pages->addTab(colourPage(), QString());
    createButtons();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addSpacing(4);
    layout->addLayout(buttonRow({m_ok, m_cancel, m_apply}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PreferencesForm::createButtons()
{
    m_ok = dialogButton(QString(), QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = dialogButton(QString(), QStringLiteral("btnCancel"));
    m_apply = dialogButton(QString(), QStringLiteral("btnApply"));
}

QWidget* PreferencesForm::generalPage()
{
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i] = named(new QCheckBox, kCheckNames[i]);
    m_interval = named(new QSpinBox, "seSaveInt");
    m_interval->setRange(kMinimumSaveInterval, kMaximumSaveInterval);
    m_interval->setAlignment(Qt::AlignRight);
    auto* minutes = named(new QLabel, "lblMins");
    minutes->setBuddy(m_interval);

    auto* general = named(new QGroupBox, "grbGeneral");
    auto* generalRows = new QGridLayout(general);
    generalRows->addWidget(m_checks[0], 0, 0, 1, 4);
    generalRows->addWidget(m_checks[1], 1, 0);
    generalRows->addWidget(m_interval, 1, 1);
    generalRows->addWidget(minutes, 1, 2);
    generalRows->setColumnStretch(3, 1);

    auto* start = named(new QGroupBox, "grbStart");
    auto* startRows = new QVBoxLayout(start);
    for (std::size_t i = 2; i < m_checks.size(); ++i)
        startRows->addWidget(m_checks[i]);

    auto* page = named(new QWidget, "tshGeneral");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(general);
    layout->addWidget(start);
    layout->addStretch();
    return page;
}

QWidget* PreferencesForm::languagePage()
{
    m_languages = named(new QComboBox, "cmbLanguages");
    m_languages->setEditable(false);
    m_languages->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_editor = named(new QPlainTextEdit, "memLangEdit");
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->setTabChangesFocus(true);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics = m_editor->fontMetrics();
    m_editor->setFixedSize(metrics.averageCharWidth() * kEditorColumns, metrics.lineSpacing() * kEditorLines);
    m_edit = dialogButton(QString(), QStringLiteral("btnEditLanguage"));
    m_save = dialogButton(QString(), QStringLiteral("btnSave"));
    m_saveAs = dialogButton(QString(), QStringLiteral("btnSaveAs"));
    m_delete = dialogButton(QString(), QStringLiteral("btnDelete"));
    auto* label = named(new QLabel, "lblLanguages");
    label->setBuddy(m_languages);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_edit, m_save, m_saveAs, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* page = named(new QWidget, "tshLanguage");
    auto* grid = new QGridLayout(page);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_languages, 1, 0);
    grid->addWidget(m_editor, 2, 0);
    grid->addLayout(buttons, 2, 1);
    return page;
}

QGroupBox* PreferencesForm::colourGroup(const char* groupName, std::size_t firstSwatch, std::size_t count)
{
    auto* group = named(new QGroupBox, groupName);
    auto* grid = new QGridLayout(group);
    for (std::size_t i = firstSwatch; i < firstSwatch + count; ++i) {
        m_swatches[i] = colourSwatch(name(kSwatchRows[i].swatchName));
        auto* label = named(new QLabel, kSwatchRows[i].labelName);
        label->setBuddy(m_swatches[i]);
        const int row = static_cast<int>(i - firstSwatch);
        grid->addWidget(label, row, 0);
        grid->addWidget(m_swatches[i], row, 1, Qt::AlignLeft);
    }
    // The rows keep their spacing when the group is taller than they are.
    grid->setRowStretch(static_cast<int>(count), 1);
    grid->setColumnStretch(0, 1);
    return group;
}

QWidget* PreferencesForm::colourPage()
{
    QGroupBox* menu = colourGroup("grbMenuColor", 0, 4);
    QGroupBox* tree = colourGroup("grbTree", 4, 2);
    QGroupBox* list = colourGroup("grbList", 6, 2);
    m_defaultColours = dialogButton(QString(), QStringLiteral("btnDefaultColors"));
    auto* page = named(new QWidget, "tshColor");
    auto* grid = new QGridLayout(page);
    grid->addWidget(menu, 0, 0, 2, 1);
    grid->addWidget(tree, 0, 1);
    grid->addWidget(list, 1, 1);
    grid->addLayout(buttonRow({m_defaultColours}), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

// --- The user's steps --------------------------------------------------------------------------

void PreferencesForm::connectControls()
{
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        connect(m_checks[i], &QCheckBox::clicked, this,
                [this, i](bool checked) { act([&] { m_dialog.setChecked(PreferenceCheck(i), checked); }); });
    connect(m_interval, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (!m_showing)
            act([&] { m_dialog.setSaveInterval(minutes); });
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int page) { m_dialog.setPage(page); });
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        connect(m_swatches[i], &QPushButton::clicked, this, [this, i] { pickColour(i); });
    connect(m_defaultColours, &QPushButton::clicked, this, [this] { act([this] { m_dialog.setDefaultColours(); }); });
    connect(m_ok, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { applyClicked(); });
}

void PreferencesForm::connectLanguageControls()
{
    connect(m_languages, &QComboBox::activated, this,
            [this](int position) { act([&] { m_dialog.language().selectLanguage(position); }); });
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            act([this] { m_dialog.language().editorChanged(toBytes(m_editor->toPlainText())); });
    });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        act([this] { m_dialog.language().edit(); });
        m_editor->setFocus();
    });
    connect(m_save, &QPushButton::clicked, this, [this] { act([this] { m_dialog.language().save(); }); });
    connect(m_saveAs, &QPushButton::clicked, this, [this] { saveLanguageAs(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { act([this] { m_dialog.language().deleteLanguage(); }); });
}

void PreferencesForm::pickColour(std::size_t swatch)
{
    const std::optional<QColor> chosen = m_chooseColour(*this, toQColor(m_dialog.colour(swatch), palette()));
    if (chosen)
        act([&] { m_dialog.setColour(swatch, toTColor(*chosen)); });
}

void PreferencesForm::saveLanguageAs()
{
    const QString chosen = m_chooseFile(*this, toQString(m_dialog.language().saveAsFilter()),
                                        QString::fromStdString(m_dialog.language().saveAsProposal().string()));
    std::optional<std::filesystem::path> file;
    if (!chosen.isEmpty())
        file = std::filesystem::path(chosen.toStdString());
    act([&] { m_dialog.language().saveAs(file); });
}

void PreferencesForm::applyClicked()
{
    if (act([this] { m_dialog.apply(); }))
        applyTexts(*this, TextWindow::Preferences, m_model.texts());
}

void PreferencesForm::okClicked()
{
    if (act([this] { m_dialog.apply(); }))
        accept();
}

void PreferencesForm::reject()
{
    if (act([this] { m_dialog.cancel(); }))
        QDialog::reject();
}

// --- The state of the dialog in its controls ---------------------------------------------------

void PreferencesForm::showState()
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i]->setChecked(m_dialog.checked(PreferenceCheck(i)));
    m_interval->setValue(m_dialog.saveInterval());
    m_interval->setEnabled(m_dialog.saveIntervalEnabled());
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        showSwatchColour(*m_swatches[i], toQColor(m_dialog.colour(i), palette()));
    showLanguages();
    showEditor();
    m_apply->setEnabled(m_dialog.applyEnabled());
}

void PreferencesForm::showLanguages()
{
    if (m_shownListRevision != m_dialog.language().languageListRevision()) {
        m_shownListRevision = m_dialog.language().languageListRevision();
        m_languages->clear();
        for (const std::string& language : m_dialog.language().languageNames())
            m_languages->addItem(toQString(language));
    }
    m_languages->setCurrentIndex(m_dialog.language().languagePosition());
    m_edit->setEnabled(m_dialog.language().editEnabled());
    m_save->setEnabled(m_dialog.language().saveEnabled());
    m_saveAs->setEnabled(m_dialog.language().saveAsEnabled());
    m_delete->setEnabled(m_dialog.language().deleteEnabled());
}

void PreferencesForm::showEditor()
{
    if (m_shownEditorRevision != m_dialog.language().editorRevision()) {
        m_shownEditorRevision = m_dialog.language().editorRevision();
        m_editor->setPlainText(toQString(m_dialog.language().editorText()));
    }
    m_editor->setReadOnly(m_dialog.language().editorReadOnly());
    // Until Edit, the editor shows the button face, so that it reads as a text to look at.
    QPalette palette = QApplication::palette(m_editor);
    if (m_dialog.language().editorReadOnly())
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_editor->setPalette(palette);
}

} // namespace velloria
