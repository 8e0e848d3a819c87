#include "gui/LinkCheckForm.h"

#include "gui/ApplyTexts.h"
#include "gui/DelMesForm.h"
#include "gui/DialogFields.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace velloria {

namespace {

constexpr int kFolderText = 322;
constexpr int kTitleText = 300;
constexpr int kAddressText = 302;
constexpr int kResultText = 462;
constexpr int kDetailsText = 463;
constexpr int kFinalAddressText = 464;
constexpr int kListWidthInCharacters = 160;
constexpr int kListHeightInLines = 40;
// The widths of the columns but the last, which takes the rest.
constexpr int kColumnCharacters[] = {22, 24, 32, 11, 26};
// The filter's entries after "All results", in the order the list shows results.
constexpr CheckResult kFilterResults[] = {CheckResult::Broken, CheckResult::Moved, CheckResult::Error, CheckResult::OK,
                                          CheckResult::NotChecked};

// The size the user gave the dialog, for its next opening in this run.
QSize& rememberedSize()
{
    static QSize size;
    return size;
}

} // namespace

// The results as the list shows them: the dialog's rows, sorted by the dialog when a header is
// clicked. Broken and Error rows in red, Moved in blue.
class LinkCheckResults : public QAbstractTableModel {
public:
    LinkCheckResults(LinkCheckDialog& dialog, const UIText& texts, QObject* parent)
        : QAbstractTableModel(parent), m_dialog(dialog)
    {
        for (const int number : {kFolderText, kTitleText, kAddressText, kResultText, kDetailsText, kFinalAddressText})
            m_headers.push_back(toQString(texts[number]));
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !m_dialog.finished() ? 0 : static_cast<int>(m_dialog.shown().size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : LinkCheckDialog::kColumnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount({}))
            return {};
        const std::size_t link = linkAt(index.row());
        const auto column = static_cast<LinkCheckDialog::Column>(index.column());
        if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() != 3))
            return toQString(m_dialog.text(link, column));
        if (role == Qt::ForegroundRole && column == LinkCheckDialog::Column::Result) {
            switch (m_dialog.check(link).result) {
            case CheckResult::Broken:
            case CheckResult::Error: return QColor(0xb0, 0x10, 0x10);
            case CheckResult::Moved: return QColor(0x10, 0x40, 0xb0);
            default: break;
            }
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
            return m_headers[section];
        return {};
    }

    void sort(int column, Qt::SortOrder order) override
    {
        beginResetModel();
        m_dialog.sortBy(static_cast<LinkCheckDialog::Column>(column), order == Qt::AscendingOrder);
        endResetModel();
    }

    std::size_t linkAt(int row) const { return m_dialog.shown()[static_cast<std::size_t>(row)]; }

    // The dialog's rows changed as a whole (results in, filter, a change to the links).
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    LinkCheckDialog& m_dialog;
    QStringList m_headers;
};

LinkCheckForm::LinkCheckForm(MainWindowModel& model, MainForm& owner)
    : QDialog(&owner), m_model(model), m_owner(owner), m_dialog(model)
{
    setObjectName(QStringLiteral("LinkCheckForm"));
    setWindowTitle(QStringLiteral("Check Links"));
    createControls();
    arrangeControls();
    connectControls();
    applyTexts(*this, TextWindow::CheckLinks, model.texts());
    m_folder->setText(toQString(filledIn(model.texts()[text::CheckFolderScope], m_dialog.folderName())));
    m_folder->setEnabled(m_dialog.hasFolder());
    (m_dialog.wholeLibrary() ? m_library : m_folder)->setChecked(true);
    m_subfolders->setChecked(m_dialog.subfolders());
    m_subfolders->setEnabled(!m_dialog.wholeLibrary());
    if (rememberedSize().isValid())
        resize(rememberedSize());
    updateButtons();
    m_start->setFocus();
}

LinkCheckForm::~LinkCheckForm()
{
    rememberedSize() = size();
}

void LinkCheckForm::createControls()
{
    const UIText& texts = m_model.texts();
    m_folder = new QRadioButton(QStringLiteral("The selected folder"));
    m_folder->setObjectName(QStringLiteral("rbFolder"));
    m_subfolders = new QCheckBox(QStringLiteral("With its subfolders"));
    m_subfolders->setObjectName(QStringLiteral("chkSubfolders"));
    m_library = new QRadioButton(QStringLiteral("The whole library"));
    m_library->setObjectName(QStringLiteral("rbWholeLibrary"));
    m_start = dialogButton(QStringLiteral("Start"), QStringLiteral("btnStart"));
    m_start->setDefault(true);

    m_progressPanel = new QWidget;
    m_progressLine = new QLabel;
    m_progressLine->setObjectName(QStringLiteral("lblProgress"));
    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("pbChecked"));
    m_bar->setTextVisible(false);
    m_inHand = new QLabel;
    m_inHand->setObjectName(QStringLiteral("lblInHand"));
    m_inHand->setTextFormat(Qt::PlainText);
    m_inHand->setMinimumWidth(m_inHand->fontMetrics().averageCharWidth() * 40);
    m_inHand->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));

    m_resultsPanel = new QWidget;
    m_filter = new QComboBox;
    m_filter->setObjectName(QStringLiteral("cbFilter"));
    m_filter->addItem(toQString(texts[text::AllResults]));
    for (const CheckResult result : kFilterResults)
        m_filter->addItem(toQString(m_dialog.resultWord(result)));
    m_list = new QTreeView;
    m_list->setObjectName(QStringLiteral("tvResults"));
    m_results = new LinkCheckResults(m_dialog, texts, this);
    m_list->setModel(m_results);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setSortIndicator(static_cast<int>(LinkCheckDialog::Column::Result), Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->setMinimumSize(metrics.averageCharWidth() * kListWidthInCharacters / 2,
                           metrics.lineSpacing() * kListHeightInLines / 3);
    for (int column = 0; column < LinkCheckDialog::kColumnCount - 1; ++column)
        m_list->header()->resizeSection(column, metrics.averageCharWidth() * kColumnCharacters[column]);
    m_list->header()->setStretchLastSection(true);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);

    m_update = dialogButton(QStringLiteral("Update Address"), QStringLiteral("btnUpdateAddress"));
    m_delete = dialogButton(QStringLiteral("Delete"), QStringLiteral("btnDelete"));
    m_open = dialogButton(QStringLiteral("Open"), QStringLiteral("btnOpen"));
    m_show = dialogButton(QStringLiteral("Show"), QStringLiteral("btnShow"));
    m_close = dialogButton(QStringLiteral("Close"), QStringLiteral("btnClose"));
    m_timer = new QTimer(this);
    m_timer->setInterval(kProgressEveryMs);
}

void LinkCheckForm::arrangeControls()
{
    auto* scope = new QGridLayout;
    scope->addWidget(m_folder, 0, 0);
    scope->addWidget(m_subfolders, 0, 1);
    scope->addWidget(m_library, 1, 0);
    scope->setColumnStretch(2, 1);
    scope->addWidget(m_start, 0, 3);

    auto* progress = new QGridLayout(m_progressPanel);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(m_progressLine, 0, 0);
    progress->addWidget(m_bar, 1, 0);
    progress->addWidget(m_cancel, 1, 1);
    progress->addWidget(m_inHand, 2, 0, 1, 2);

    auto* results = new QVBoxLayout(m_resultsPanel);
    results->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("Show:"));
    filterLabel->setObjectName(QStringLiteral("lblFilter"));
    filterLabel->setBuddy(m_filter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    filterRow->addStretch(1);
    results->addLayout(filterRow);
    results->addWidget(m_list, 1);
    results->addWidget(m_summary);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scope);
    layout->addWidget(m_progressPanel);
    layout->addWidget(m_resultsPanel, 1);
    layout->addStretch(0);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_update, m_delete, m_open, m_show, m_close}));
    m_progressPanel->hide();
    m_resultsPanel->setEnabled(false);
    const QFontMetrics metrics = m_list->fontMetrics();
    resize(metrics.averageCharWidth() * kListWidthInCharacters, metrics.lineSpacing() * kListHeightInLines);
    setTabOrder(m_folder, m_subfolders);
    setTabOrder(m_subfolders, m_library);
    setTabOrder(m_library, m_start);
    setTabOrder(m_start, m_cancel);
    setTabOrder(m_cancel, m_filter);
    setTabOrder(m_filter, m_list);
    setTabOrder(m_list, m_update);
    setTabOrder(m_update, m_delete);
    setTabOrder(m_delete, m_open);
    setTabOrder(m_open, m_show);
    setTabOrder(m_show, m_close);
}

void LinkCheckForm::connectControls()
{
    connect(m_library, &QRadioButton::toggled, this, [this](bool whole) {
        m_dialog.setWholeLibrary(whole);
        m_subfolders->setEnabled(!whole);
    });
    connect(m_subfolders, &QCheckBox::toggled, this, [this](bool on) { m_dialog.setSubfolders(on); });
    connect(m_start, &QPushButton::clicked, this, [this] { startCheck(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_dialog.cancel();
        m_cancel->setEnabled(false);
    });
    connect(m_timer, &QTimer::timeout, this, [this] { showProgress(); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_dialog.setFilter(index <= 0 ? std::nullopt : std::optional(kFilterResults[index - 1]));
        refreshList();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateButtons(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { updateButtons(); });
    connect(m_results, &QAbstractItemModel::modelReset, this, [this] { updateButtons(); });
    connect(m_list, &QTreeView::doubleClicked, this, [this] { m_open->click(); });
    onEnterKey(*m_list, [this] { m_open->click(); });
    connect(m_update, &QPushButton::clicked, this, [this] {
        m_owner.run([&] { m_dialog.updateAddresses(selectedLinks()); });
        refreshList();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(m_open, &QPushButton::clicked, this, [this] {
        if (const auto link = currentLink())
            m_owner.run([&] { m_dialog.open(*link); });
    });
    connect(m_show, &QPushButton::clicked, this, [this] {
        if (const auto link = currentLink())
            m_owner.run([&] { m_dialog.show(*link); });
    });
    connect(m_close, &QPushButton::clicked, this, &LinkCheckForm::reject);
}

void LinkCheckForm::startCheck()
{
    if (!m_owner.run([&] { m_dialog.start(HttpCheckOptions{}); }))
        return;
    m_folder->setEnabled(false);
    m_subfolders->setEnabled(false);
    m_library->setEnabled(false);
    m_start->setEnabled(false);
    m_progressPanel->show();
    m_cancel->setFocus();
    showProgress();
    m_timer->start();
}

void LinkCheckForm::showProgress()
{
    bool collected = false;
    if (!m_owner.run([&] { collected = m_dialog.collect(); }))
        collected = m_dialog.finished(); // the check failed: what it left is shown
    m_bar->setMaximum(static_cast<int>(std::max<std::size_t>(1, m_dialog.total())));
    m_bar->setValue(static_cast<int>(std::min(m_dialog.done(), m_dialog.total())));
    m_progressLine->setText(toQString(m_dialog.progressLine()));
    const QString inHand = toQString(m_dialog.inHand());
    m_inHand->setText(m_inHand->fontMetrics().elidedText(inHand, Qt::ElideMiddle, m_inHand->width()));
    if (collected)
        showResults();
}

void LinkCheckForm::showResults()
{
    m_timer->stop();
    m_progressPanel->hide(); // the summary under the list says what was checked
    m_resultsPanel->setEnabled(true);
    m_results->reset();
    m_list->resizeColumnToContents(static_cast<int>(LinkCheckDialog::Column::Result)); // the words of the language
    m_summary->setText(toQString(m_dialog.summary()));
    if (m_results->rowCount({}) > 0)
        m_list->setCurrentIndex(m_results->index(0, 0));
    m_list->setFocus();
    updateButtons();
}

void LinkCheckForm::updateButtons()
{
    const std::vector<std::size_t> links = selectedLinks();
    const bool onLink = currentLink().has_value();
    m_update->setEnabled(m_dialog.finished() && m_dialog.canUpdate(links));
    m_delete->setEnabled(m_dialog.finished() && m_dialog.canDelete(links));
    m_open->setEnabled(onLink);
    m_show->setEnabled(onLink);
}

std::vector<std::size_t> LinkCheckForm::selectedLinks() const
{
    std::vector<std::size_t> links;
    if (!m_dialog.finished())
        return links;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        links.push_back(m_results->linkAt(index.row()));
    std::sort(links.begin(), links.end());
    return links;
}

std::optional<std::size_t> LinkCheckForm::currentLink() const
{
    const QModelIndex current = m_list->currentIndex();
    if (!m_dialog.finished() || !current.isValid())
        return std::nullopt;
    return m_results->linkAt(current.row());
}

void LinkCheckForm::deleteSelected()
{
    const std::vector<std::size_t> links = selectedLinks();
    DelMesForm::deleteAsked(*this, m_model, m_owner, m_dialog.deletionLines(links),
                            [this, &links] { m_dialog.deleteLinks(links); });
    refreshList();
}

void LinkCheckForm::refreshList()
{
    const int row = m_list->currentIndex().row();
    m_results->reset();
    m_summary->setText(toQString(m_dialog.summary()));
    const int rows = m_results->rowCount({});
    if (rows > 0) // the place of the row worked on stays current
        m_list->setCurrentIndex(m_results->index(std::clamp(row, 0, rows - 1), 0));
    updateButtons();
}

void LinkCheckForm::reject()
{
    m_timer->stop();
    m_dialog.cancel(); // the dialog's end waits for the thread, which stops within half a second
    QDialog::reject();
}

} // namespace velloria
