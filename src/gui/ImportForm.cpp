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
#include <QHeaderView>
#include <QTabWidget>
#include <QTreeWidget>
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
               "Import Opera Hotlist", "File Location:", kOperaFileFilters, kHotlistImage},
              {"grbXbel", "chkXbel", "lblXbelFile", "edXbelFile", "sbXbelFile", "Import from XBEL",
               "Import XBEL Bookmarks", "File Location:", kXbelFileFilters, kBookmarkFileImage}}},
    .offersBrowsers = true,
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
    if (m_pages) {
        // The page imported from last in this run; the browsers are looked for when it shows.
        connect(m_pages, &QTabWidget::currentChanged, this, [this] {
            if (browsersShown())
                loadProfiles();
            updateOk();
        });
        m_pages->setCurrentIndex(memory().browserPage ? 1 : 0);
    }
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
    auto* files = new QWidget;
    auto* rows = new QVBoxLayout(files);
    for (const Row& row : m_rows)
        rows->addWidget(row.group);
    if (m_direction.offersBrowsers) {
        files->setObjectName(QStringLiteral("tabFiles"));
        m_pages = new QTabWidget;
        m_pages->setObjectName(QStringLiteral("pgcImport"));
        m_pages->addTab(files, QStringLiteral("From files"));
        m_pages->addTab(createBrowsersPage(), QStringLiteral("From a browser on this computer"));
        layout->addWidget(m_pages);
    } else {
        rows->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(files);
    }
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_ok, m_cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ExchangeForm::fill(const ExchangeChoice& choice)
{
    const std::array<bool, 4> checked{choice.ie, choice.netscape, choice.opera, choice.xbel};
    const std::array<const std::string*, 4> locations{&choice.ieLocation, &choice.netscapeLocation,
                                                      &choice.operaLocation, &choice.xbelLocation};
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
        .xbel = m_rows[3].check->isChecked(),
        .xbelLocation = toBytes(m_rows[3].edit->text()),
    };
}

QWidget* ExchangeForm::createBrowsersPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabBrowsers"));
    const UIText& texts = m_model.texts();
    m_profileList = new QTreeWidget;
    m_profileList->setObjectName(QStringLiteral("lvProfiles"));
    m_profileList->setRootIsDecorated(false);
    m_profileList->setHeaderLabels({toQString(texts[text::ColumnBrowser]), toQString(texts[text::ColumnProfile]),
                                    toQString(texts[text::ColumnBookmarks]), toQString(texts[text::ColumnLocation])});
    m_profileList->header()->setStretchLastSection(true);
    m_profileList->setMinimumHeight(fontMetrics().height() * 12);
    connect(m_profileList, &QTreeWidget::itemChanged, this, [this] { updateOk(); });
    m_noProfile = new QLabel(QStringLiteral("No browser profile was found on this computer."));
    m_noProfile->setObjectName(QStringLiteral("lblNoProfile"));
    m_noProfile->hide();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_profileList);
    layout->addWidget(m_noProfile);
    return page;
}

ExchangeMemory& ExchangeForm::memory() const
{
    return static_cast<ExchangeLibrary&>(m_model).exchangeMemory();
}

bool ExchangeForm::browsersShown() const
{
    return m_pages && m_pages->currentIndex() == 1;
}

// Each profile with the number of links an import would bring; a profile that cannot be read
// says so (the reason in its tool tip) and cannot be ticked.
void ExchangeForm::loadProfiles()
{
    if (m_profilesLoaded)
        return;
    m_profilesLoaded = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_profiles = profileRows(userBrowserPlaces(), memory().tickedProfiles);
    for (const ProfileRow& row : m_profiles) {
        const BrowserProfile& profile = row.profile;
        auto* item = new QTreeWidgetItem(
            {toQString(profile.browser), toQString(profile.name),
             row.links ? QString::number(*row.links) : toQString(m_model.texts()[text::ProfileUnreadable]),
             toQString(profile.directory.string())});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(2, toQString(row.problem));
        item->setToolTip(3, item->text(3));
        if (row.links) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        }
        m_profileList->addTopLevelItem(item);
    }
    for (int column = 0; column < 3; ++column)
        m_profileList->resizeColumnToContents(column);
    m_noProfile->setVisible(m_profiles.empty());
    QApplication::restoreOverrideCursor();
}

std::vector<BrowserProfile> ExchangeForm::tickedProfiles() const
{
    std::vector<BrowserProfile> ticked;
    for (int i = 0; m_profileList && i < m_profileList->topLevelItemCount(); ++i)
        if (m_profileList->topLevelItem(i)->checkState(0) == Qt::Checked)
            ticked.push_back(m_profiles[static_cast<std::size_t>(i)].profile);
    return ticked;
}

// On the page of browsers OK imports the ticked profiles, so it waits for one.
void ExchangeForm::updateOk()
{
    m_ok->setEnabled(!browsersShown() || !tickedProfiles().empty());
}

void ExchangeForm::confirm()
{
    bool finished = false;
    std::vector<ImportReport> reports;
    m_owner.run([this, &finished, &reports] {
        ExchangeProgress progress(*this, toQString(m_model.texts()[m_direction.progressText]), m_cancel->text(),
                                  progressTiming);
        try {
            reports = browsersShown() ? importProfiles(m_model, tickedProfiles(), progress.function())
                                      : m_direction.confirm(m_model, choice(), progress.function());
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
