#include "mainwindow/MainForm.h"

#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/LinkListModel.h"
#include "platform/QtText.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>

namespace velloria {

namespace {

const QString kCaption = QStringLiteral("Velloria");
constexpr std::array<int, LinkListModel::ColumnCount> kColumnWidths = {120, 300, 100, 100};
constexpr int kMinimumColumnWidth = 20;
constexpr std::array<int, kStatusPanelCount> kStatusPanelWidths = {200, 200, 100, 100, 50};
// From this status bar width on, the second panel (the focused link) takes the extra room.
constexpr int kWideStatusBar = 601;
constexpr int kStatusWidthBesideSecondPanel = 400;

} // namespace

MainForm::MainForm(MainWindowModel& model, QWidget* parent) : QMainWindow(parent), m_model(model)
{
    setWindowTitle(kCaption);
    createFolderTree();
    createLinkList();
    createDescriptionPane();
    arrangePanes();
    createStatusBar();
    createMenus();
    connectViews();
    resize(1000, 700);
    m_model.setObserver(this);
    descriptionChanged();
    statusBarChanged();
}

MainForm::~MainForm()
{
    m_model.setObserver(nullptr);
}

void MainForm::showError(const char* message)
{
    QMessageBox::critical(this, kCaption, toQString(message));
}

void MainForm::createFolderTree()
{
    m_folderModel = new FolderTreeModel(m_model, this);
    m_folderView = new QTreeView;
    m_folderView->setObjectName(QStringLiteral("trvFolders"));
    m_folderView->setModel(m_folderModel);
    m_folderView->setHeaderHidden(true);
    m_folderView->setUniformRowHeights(true);
    m_folderView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folderView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderView->installEventFilter(this);
}

void MainForm::createLinkList()
{
    m_linkModel = new LinkListModel(m_model, this);
    m_linkView = new QTableView;
    m_linkView->setObjectName(QStringLiteral("lvReferences"));
    m_linkView->setModel(m_linkModel);
    m_linkView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_linkView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_linkView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_linkView->setShowGrid(true);
    m_linkView->setWordWrap(false);
    m_linkView->setTabKeyNavigation(false);
    // Rows of one fixed height let the view place a hundred thousand rows without measuring any.
    QHeaderView* rows = m_linkView->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_linkView->fontMetrics().height() + 6);
    QHeaderView* columns = m_linkView->horizontalHeader();
    columns->setMinimumSectionSize(kMinimumColumnWidth);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < LinkListModel::ColumnCount; ++column)
        columns->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
    m_linkView->installEventFilter(this);
}

void MainForm::createDescriptionPane()
{
    m_descriptionPane = new QPlainTextEdit;
    m_descriptionPane->setObjectName(QStringLiteral("memDescr"));
    m_descriptionPane->setReadOnly(true);
    m_descriptionPane->setFocusPolicy(Qt::NoFocus);
    // The pane only shows; the button face colour keeps it from looking like an input field.
    QPalette palette = m_descriptionPane->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_descriptionPane->setPalette(palette);
}

void MainForm::arrangePanes()
{
    auto* listSplitter = new QSplitter(Qt::Vertical);
    listSplitter->setObjectName(QStringLiteral("splList"));
    listSplitter->addWidget(m_linkView);
    listSplitter->addWidget(m_descriptionPane);
    listSplitter->setStretchFactor(0, 1);
    listSplitter->setSizes({520, 120});
    auto* mainSplitter = new QSplitter(Qt::Horizontal);
    mainSplitter->setObjectName(QStringLiteral("splMain"));
    mainSplitter->addWidget(m_folderView);
    mainSplitter->addWidget(listSplitter);
    mainSplitter->setStretchFactor(1, 1);
    mainSplitter->setSizes({250, 750});
    setCentralWidget(mainSplitter);
}

void MainForm::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("MainStatusBar"));
    bar->setSizeGripEnabled(false);
    // The panels are placed by hand rather than by the bar's layout: their fixed widths may add
    // up to more than the window, and then the last ones are cut off instead of widening it.
    for (std::size_t i = 0; i < kStatusPanelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("MainStatusBarPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_statusPanels[i] = panel;
    }
    bar->setFixedHeight(m_statusPanels[0]->sizeHint().height() + 2);
    bar->installEventFilter(this);
}

void MainForm::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("actExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void MainForm::connectViews()
{
    connect(m_folderView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { folderViewCurrentChanged(current); });
    connect(m_folderView, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { folderViewExpandedChanged(index, true); });
    connect(m_folderView, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { folderViewExpandedChanged(index, false); });
    const QItemSelectionModel* rows = m_linkView->selectionModel();
    connect(rows, &QItemSelectionModel::selectionChanged, this, [this] { linkViewSelectionChanged(); });
    connect(rows, &QItemSelectionModel::currentChanged, this, [this] { linkViewSelectionChanged(); });
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_folderView || watched == m_linkView))
        viewFocused(watched == m_linkView);
    else if (event->type() == QEvent::Resize && watched == statusBar())
        layOutStatusPanels();
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::closeEvent(QCloseEvent* event)
{
    // The expanded and selected folders are remembered for the next start.
    run([this] { m_model.library().SaveFolderStates(); });
    QMainWindow::closeEvent(event);
}

template <typename Action> void MainForm::forward(bool& guard, Action&& action)
{
    if (guard)
        return;
    const QScopedValueRollback<bool> forwarding(guard, true);
    run(std::forward<Action>(action));
}

void MainForm::folderViewCurrentChanged(const QModelIndex& current)
{
    forward(m_syncingFolders, [&] { m_model.selectFolder(m_folderModel->folderOf(current)); });
}

void MainForm::folderViewExpandedChanged(const QModelIndex& index, bool expanded)
{
    const std::size_t folder = m_folderModel->folderOf(index);
    if (folder != MainWindowModel::npos)
        forward(m_syncingFolders, [&] { m_model.setFolderExpanded(folder, expanded); });
}

void MainForm::linkViewSelectionChanged()
{
    const QModelIndex current = m_linkView->selectionModel()->currentIndex();
    const std::size_t focused = current.isValid() ? static_cast<std::size_t>(current.row()) : MainWindowModel::npos;
    forward(m_syncingRows, [&] { m_model.selectRows(viewSelectedRows(), focused); });
}

void MainForm::viewFocused(bool listHasFocus)
{
    run([&] { m_model.setListHasFocus(listHasFocus); });
}

std::vector<std::size_t> MainForm::viewSelectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : m_linkView->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void MainForm::folderTreeAboutToBeReset()
{
    m_folderModel->beginTreeReset();
}

void MainForm::folderTreeReset()
{
    m_folderModel->endTreeReset();
    const QScopedValueRollback<bool> syncing(m_syncingFolders, true);
    showFolderExpansion();
    showSelectedFolder();
}

void MainForm::linkListAboutToBeReset()
{
    m_linkModel->beginListReset();
}

void MainForm::linkListReset()
{
    m_linkModel->endListReset();
}

void MainForm::folderSelectionChanged()
{
    m_folderModel->folderSelectionChanged();
    if (m_syncingFolders)
        return;
    const QScopedValueRollback<bool> syncing(m_syncingFolders, true);
    showFolderExpansion();
    showSelectedFolder();
}

void MainForm::rowSelectionChanged()
{
    if (m_syncingRows)
        return;
    const QScopedValueRollback<bool> syncing(m_syncingRows, true);
    showRowSelection();
}

void MainForm::descriptionChanged()
{
    m_descriptionPane->setPlainText(toQString(m_model.descriptionText()));
}

void MainForm::statusBarChanged()
{
    for (std::size_t i = 0; i < kStatusPanelCount; ++i)
        m_statusPanels[i]->setText(toQString(m_model.statusPanel(i)));
}

void MainForm::errorRaised(const char* message)
{
    showError(message);
}

void MainForm::showFolderExpansion()
{
    const TFolderTree& tree = m_model.folderTree();
    for (std::size_t folder = 0; folder < tree.count(); ++folder)
        if (tree.hasChildren(folder))
            m_folderView->setExpanded(m_folderModel->indexOfFolder(folder), tree[folder].Expanded);
}

void MainForm::showSelectedFolder()
{
    const QModelIndex selected = m_folderModel->indexOfFolder(m_model.selectedFolder());
    m_folderView->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
}

void MainForm::showRowSelection()
{
    QItemSelectionModel* selection = m_linkView->selectionModel();
    selection->select(selectedRowRanges(), QItemSelectionModel::ClearAndSelect);
    const std::size_t focused = m_model.focusedRow();
    const QModelIndex current =
        focused == MainWindowModel::npos ? QModelIndex() : m_linkModel->index(static_cast<int>(focused), 0);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

QItemSelection MainForm::selectedRowRanges() const
{
    // Runs of selected rows become one range each, so selecting all rows is a single range.
    QItemSelection ranges;
    const int rows = m_linkModel->rowCount();
    const auto selected = [this](int row) { return m_model.isRowSelected(static_cast<std::size_t>(row)); };
    for (int first = 0; first < rows; ++first) {
        if (!selected(first))
            continue;
        int last = first;
        while (last + 1 < rows && selected(last + 1))
            ++last;
        ranges.select(m_linkModel->index(first, 0), m_linkModel->index(last, LinkListModel::ColumnCount - 1));
        first = last;
    }
    return ranges;
}

void MainForm::layOutStatusPanels()
{
    const int barWidth = statusBar()->width();
    const int height = statusBar()->height();
    int left = 0;
    for (std::size_t i = 0; i < kStatusPanelCount; ++i) {
        const bool widened = i == 1 && barWidth >= kWideStatusBar;
        const int width = widened ? barWidth - kStatusWidthBesideSecondPanel : kStatusPanelWidths[i];
        m_statusPanels[i]->setGeometry(left, 0, width, height);
        left += width;
    }
}

} // namespace velloria
