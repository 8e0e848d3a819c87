// The dialog that import and export share, and the import dialog's rows.

#include "gui/ImportForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DialogFields.h"
#include "gui/ImageList.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "settings/UIText.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace velloria {

namespace {

// Wide enough for a path of common length; a longer one scrolls in its edit.
constexpr int kEditWidthInCharacters = 56;
constexpr int kIconSize = 32;

const ExchangeDirection kImport{
    .objectName = "ImportForm",
    .caption = "Import Bookmarks",
    .texts = TextWindow::Import,
    .rows = {{{"grbIE", "chkImportIE", "lblIEDirectory", "edIEDirectory", "sbIEDirectory",
               "Import from Internet Explorer", "Import Internet Explorer Favorites", "Directory Location:", nullptr,
               kFavoritesImage},
              {"grbNetscape", "chkNetscape", "lblNetscapeFile", "edNetscapeFile", "sbNetscapeFile",
               "Import from Netscape Navigator", "Import Netscape Bookmarks", "File Location:", kNetscapeFileFilters,
               kBookmarkFileImage},
              {"grbOpera", "chkOpera", "lblOperaFile", "edOperaFile", "sbOperaFile", "Import from Opera",
               "Import Opera Hotlist", "File Location:", kOperaFileFilters, kHotlistImage}}},
    .checkOpensRow = true,
    .progressText = text::ImportingBookmarks,
    .open = importDialogChoice,
    .confirm = importBookmarks,
};

// A file picker that opens where the location points and takes a file that does not exist
// yet, without asking about overwriting: the same picker chooses what to read and what to write.
QString chooseFile(QWidget& parent, const QString& start, const QStringList& filters)
{
    const qsizetype slash = start.lastIndexOf(u'/');
    QFileDialog dialog(&parent, QString(), start.left(slash + 1));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    dialog.selectFile(start.mid(slash + 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString fromLiteral(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

ExchangeForm::ExchangeForm(MainWindowModel& model, MainForm& owner, const ExchangeDirection& direction)
    : QDialog(&owner), m_model(model), m_owner(owner), m_direction(direction)
{
    setObjectName(fromLiteral(direction.objectName));
    setWindowTitle(fromLiteral(direction.caption));
    pickDirectory = [this](const QString& start) { return QFileDialog::getExistingDirectory(this, QString(), start); };
    pickFile = [this](const QString& start, const QStringList& filters) { return chooseFile(*this, start, filters); };
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i] = createRow(i);
    m_ok = dialogButton(QStringLiteral("OK"), QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
    connect(m_ok, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    arrangeControls();
    applyTexts(*this, direction.texts, model.texts());
    fill(direction.open(model));
}

ExchangeForm::Row ExchangeForm::createRow(std::size_t index)
{
    const ExchangeRowInfo& info = m_direction.rows[index];
    Row row;
    row.group = new QGroupBox(fromLiteral(info.groupText));
    row.group->setObjectName(fromLiteral(info.group));
    row.check = new QCheckBox(fromLiteral(info.checkText));
    row.check->setObjectName(fromLiteral(info.check));
    row.edit = new QLineEdit;
    row.edit->setObjectName(fromLiteral(info.edit));
    row.edit->setMinimumWidth(row.edit->fontMetrics().averageCharWidth() * kEditWidthInCharacters);
    row.picker = new QToolButton;
    row.picker->setObjectName(fromLiteral(info.picker));
    row.picker->setText(QStringLiteral("..."));
    auto* label = new QLabel(fromLiteral(info.labelText));
    label->setObjectName(fromLiteral(info.label));
    label->setBuddy(row.edit);
    auto* icon = new QLabel;
    icon->setPixmap(imageIcon(info.image).pixmap(kIconSize, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);
    arrangeRow(row, *icon, *label);
    connect(row.check, &QCheckBox::toggled, this, [this, index] { showRowState(m_rows[index]); });
    connect(row.picker, &QToolButton::clicked, this, [this, index] { browse(index); });
    return row;
}

void ExchangeForm::arrangeRow(const Row& row, QLabel& icon, QLabel& label)
{
    // The icon stands at the left of the group; the check box, the label and the location with
    // its picker are stacked beside it.
    auto* grid = new QGridLayout(row.group);
    grid->setHorizontalSpacing(6);
    grid->addWidget(&icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->setColumnMinimumWidth(1, 6);
    // The check box keeps the width of its text, so that a click beside the text is no click on it.
    grid->addWidget(row.check, 0, 2, 1, 2, Qt::AlignLeft);
    grid->addWidget(&label, 1, 2, 1, 2);
    grid->addWidget(row.edit, 2, 2);
    grid->addWidget(row.picker, 2, 3);
    grid->setColumnStretch(2, 1);
}

void ExchangeForm::browse(std::size_t index)
{
    const char* filters = m_direction.rows[index].fileFilters;
    QLineEdit& edit = *m_rows[index].edit;
    const QString chosen = filters ? pickFile(edit.text(), fromLiteral(filters).split(QStringLiteral(";;")))
                                   : pickDirectory(edit.text());
    if (!chosen.isEmpty())
        edit.setText(chosen);
}

void ExchangeForm::arrangeControls()
{
    auto* layout = new QVBoxLayout(this);
    for (const Row& row : m_rows)
        layout->addWidget(row.group);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ExchangeForm::fill(const ExchangeChoice& choice)
{
    const std::array<bool, 3> checked{choice.ie, choice.netscape, choice.opera};
    const std::array<const std::string*, 3> locations{&choice.ieLocation, &choice.netscapeLocation,
                                                      &choice.operaLocation};
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].check->setChecked(checked[i]);
        m_rows[i].edit->setText(toQString(*locations[i]));
        showRowState(m_rows[i]);
    }
}

void ExchangeForm::showRowState(const Row& row) const
{
    const bool checked = row.check->isChecked();
    if (m_direction.checkOpensRow) {
        row.edit->setReadOnly(!checked);
        row.picker->setEnabled(checked);
    } else {
        row.edit->setReadOnly(true);
    }
    // An unchecked row's location shows the button face, so that it reads as not in use.
    QPalette palette = QApplication::palette(row.edit);
    if (!checked)
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Button));
    row.edit->setPalette(palette);
}

ExchangeChoice ExchangeForm::choice() const
{
    return ExchangeChoice{
        .ie = m_rows[0].check->isChecked(),
        .netscape = m_rows[1].check->isChecked(),
        .opera = m_rows[2].check->isChecked(),
        .ieLocation = toBytes(m_rows[0].edit->text()),
        .netscapeLocation = toBytes(m_rows[1].edit->text()),
        .operaLocation = toBytes(m_rows[2].edit->text()),
    };
}

void ExchangeForm::confirm()
{
    bool finished = false;
    std::vector<ImportReport> reports;
    m_owner.run([this, &finished, &reports] {
        ExchangeProgress progress(*this, toQString(m_model.texts()[m_direction.progressText]), m_cancel->text(),
                                  progressTiming);
        try {
            reports = m_direction.confirm(m_model, choice(), progress.function());
        } catch (const OperationCancelled&) {
            // What was done before Cancel stays done; the dialog closes as after OK.
        }
        finished = true;
    });
    if (!finished)
        return;
    accept();
    // Over the window, which shows the new folders behind it.
    if (!reports.empty())
        m_owner.inform(importSummaryText(m_model.texts(), reports));
}

ImportForm::ImportForm(MainWindowModel& model, MainForm& owner) : ExchangeForm(model, owner, kImport) {}

} // namespace velloria
