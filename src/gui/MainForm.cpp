// The main window's widgets, its dialogs and message boxes.

#include "gui/MainForm.h"

#include "gui/AboutForm.h"
#include "gui/CommandActions.h"
#include "gui/DelMesForm.h"
#include "gui/EditItemForm.h"
#include "gui/ExportForm.h"
#include "gui/FindForm.h"
#include "gui/FolderTreeModel.h"
#include "gui/FolderTreeView.h"
#include "gui/GenHtmlForm.h"
#include "gui/ImageList.h"
#include "gui/ImportForm.h"
#include "gui/LinkListModel.h"
#include "gui/NewItemForm.h"
#include "gui/PreferencesForm.h"
#include "gui/QtText.h"
#include "gui/StatisticsForm.h"
#include "gui/DuplicatesForm.h"
#include "gui/LinkCheckForm.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace velloria {

namespace {

const QString kCaption = QStringLiteral("Velloria");
constexpr int kCancelText = 312;
constexpr int kOkText = 313;
constexpr int kYesText = 314;
constexpr int kNoText = 315;

} // namespace

MainForm::MainForm(MainWindowModel& model, QWidget* parent) : QMainWindow(parent), m_model(model)
{
    setWindowTitle(kCaption);
    setWindowIcon(applicationIcon());
    createFolderTree();
    createLinkList();
    createDescriptionPane();
    arrangePanes();
    createStatusBar();
    createCommands();
    connectViews();
    m_autoSaveTimer = new QTimer(this);
    m_autoSaveTimer->setObjectName(QStringLiteral("MainTimer"));
    connect(m_autoSaveTimer, &QTimer::timeout, this, [this] { run([this] { m_model.lifecycle().MainTimerTimer(); }); });
    resize(1000, 700);
    m_model.setObserver(this);
    captionsChanged();
    commandsChanged();
    descriptionChanged();
    statusBarChanged();
}

MainForm::~MainForm()
{
    m_model.setObserver(nullptr);
}

void MainForm::showError(const char* message)
{
    // An error of the start-up appears over what could be loaded, so the window comes first.
    if (!isVisible())
        show();
    const MainWindowModel::ModalWindow open(m_model);
    QMessageBox::critical(this, kCaption, toQString(message));
}

int MainForm::showModal(QDialog& dialog)
{
    int result = 0;
    {
        const MainWindowModel::ModalWindow open(m_model);
        result = dialog.exec();
    }
    run([this] { m_model.dialogClosed(); });
    return result;
}

Answer MainForm::ask(const std::string& question)
{
    QMessageBox box(QMessageBox::Question, kCaption, toQString(question),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(toQString(m_model.texts()[kYesText]));
    box.button(QMessageBox::No)->setText(toQString(m_model.texts()[kNoText]));
    box.button(QMessageBox::Cancel)->setText(toQString(m_model.texts()[kCancelText]));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void MainForm::message(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, kCaption, toQString(text), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(toQString(m_model.texts()[kOkText]));
    box.exec();
}

void MainForm::inform(const std::string& text)
{
    const MainWindowModel::ModalWindow open(m_model);
    QMessageBox box(QMessageBox::Information, kCaption, toQString(text), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(toQString(m_model.texts()[kOkText]));
    box.exec();
}

void MainForm::aboutBoxRequested()
{
    AboutForm about(m_model.texts(), this);
    showModal(about);
}

template <typename Form> void MainForm::showForm()
{
    Form form(m_model, *this);
    showModal(form);
}

void MainForm::dialogRequested(DialogKind kind)
{
    switch (kind) {
    case DialogKind::NewItem: run([this] { showForm<NewItemForm>(); }); break;
    case DialogKind::EditItem: run([this] { showForm<EditItemForm>(); }); break;
    case DialogKind::DeleteConfirmation: run([this] { showForm<DelMesForm>(); }); break;
    case DialogKind::Find: run([this] { showForm<FindForm>(); }); break;
    case DialogKind::Statistics: run([this] { showForm<StatisticsForm>(); }); break;
    case DialogKind::Duplicates: run([this] { showForm<DuplicatesForm>(); }); break;
    case DialogKind::CheckLinks: run([this] { showForm<LinkCheckForm>(); }); break;
    case DialogKind::Import: run([this] { showForm<ImportForm>(); }); break;
    case DialogKind::Export: run([this] { showForm<ExportForm>(); }); break;
    case DialogKind::GenHtml: run([this] { showForm<GenHtmlForm>(); }); break;
    case DialogKind::Preferences: run([this] { showForm<PreferencesForm>(); }); break;
    }
}

// --- Building the window -----------------------------------------------------------------------

void MainForm::createFolderTree()
{
    m_folderModel = new FolderTreeModel(m_model, this);
    m_folderView = new FolderTreeView;
    m_folderView->setObjectName(QStringLiteral("trvFolders"));
    m_folderView->setModel(m_folderModel);
    m_folderView->setHeaderHidden(true);
    m_folderView->setUniformRowHeights(true);
    m_folderView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folderView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderView->setContextMenuPolicy(Qt::CustomContextMenu);
    // A folder is dragged onto another one. The item model says where it may go, and takes only
    // its own folders, so nothing from outside is accepted; the drop itself goes to the main
    // window model (folderDropped).
    m_folderView->setDragDropMode(QAbstractItemView::DragDrop);
    m_folderView->setDefaultDropAction(Qt::MoveAction);
    m_folderView->setDragDropOverwriteMode(true); // a drop lands on a folder, never between two
    m_folderView->installEventFilter(this);
    m_folderView->viewport()->installEventFilter(this);
}

void MainForm::createLinkList()
{
    m_linkModel = new LinkListModel(m_model, this);
    m_linkView = new QTableView;
    m_linkView->setObjectName(QStringLiteral("lvReferences"));
    m_linkView->setModel(m_linkModel);
    setUpListView(*m_linkView);
    QHeaderView* columns = m_linkView->horizontalHeader();
    connect(columns, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (m_fittingLastColumn)
            return;
        if (column == 3)
            m_lastColumnWidth = width; // the user dragged its edge
        else
            fitLastColumn();
    });
    m_linkView->installEventFilter(this);
    m_linkView->viewport()->installEventFilter(this);
}

// A list of links: whole rows selected, several at once, nothing edited in place, sorted by the
// model, and rows of one fixed height.
void MainForm::setUpListView(QTableView& view)
{
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSortingEnabled(false); // the model sorts, and writes the order to the folder's file
    view.setShowGrid(false);
    view.setWordWrap(false);
    view.setTabKeyNavigation(false);
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    // The selected rows are dragged onto a folder of the tree: moved, or copied with Ctrl held.
    view.setDragEnabled(true);
    view.setDragDropMode(QAbstractItemView::DragOnly);
    view.setDefaultDropAction(Qt::MoveAction);
    // Rows of one fixed height let the view place a hundred thousand rows without measuring any.
    QHeaderView* rows = view.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view.fontMetrics().height() + 6);
    QHeaderView* columns = view.horizontalHeader();
    columns->setMinimumSectionSize(kMinimumColumnWidth);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(true);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void MainForm::createDescriptionPane()
{
    m_descriptionPane = new QPlainTextEdit;
    m_descriptionPane->setObjectName(QStringLiteral("memDescr"));
    m_descriptionPane->setReadOnly(true);
    // The pane hands the focus back to the tree or the list as soon as it gets it.
    m_descriptionPane->setFocusPolicy(Qt::ClickFocus);
    // The pane only shows; the button face colour keeps it from looking like an input field.
    QPalette palette = m_descriptionPane->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_descriptionPane->setPalette(palette);
    m_descriptionPane->installEventFilter(this);
}

void MainForm::arrangePanes()
{
    // The tree and the description keep their sizes when the window changes; the list takes it.
    m_listSplitter = new QSplitter(Qt::Vertical);
    m_listSplitter->setObjectName(QStringLiteral("splList"));
    createFilter();
    m_listSplitter->addWidget(m_descriptionPane);
    m_listSplitter->setStretchFactor(0, 1);
    m_listSplitter->setStretchFactor(1, 0);
    m_listSplitter->setChildrenCollapsible(false);
    m_mainSplitter = new QSplitter(Qt::Horizontal);
    m_mainSplitter->setObjectName(QStringLiteral("splMain"));
    m_mainSplitter->addWidget(m_folderView);
    m_mainSplitter->addWidget(m_listSplitter);
    m_mainSplitter->setStretchFactor(0, 0);
    m_mainSplitter->setStretchFactor(1, 1);
    m_mainSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_mainSplitter);
    setPaneSizes(250, 100);
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
        panel->setMargin(1);
        m_statusPanels[i] = panel;
    }
    bar->setFixedHeight(m_statusPanels[0]->sizeHint().height() + 4);
    bar->installEventFilter(this);
}

void MainForm::createCommands()
{
    m_actions = new CommandActions(this, [this](Command command) { commandTriggered(command); });
    m_actions->fillMenuBar(menuBar());
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_actions->fillToolBar(m_toolBar);
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("ContextMenu"));
    m_actions->fillMenu(m_contextMenu, contextMenuCommands());
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
    connect(m_linkView->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { run([&] { m_model.list().lvReferencesColumnClick(column); }); });
    connect(m_folderView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showContextMenu(*m_folderView, position); });
    connect(m_linkView, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        run([this] { m_model.list().lvReferencesClick(); });
        showContextMenu(*m_linkView, position);
    });
}

QMenu* MainForm::createPopupMenu()
{
    // The toolbar is shown and hidden by its command alone.
    return nullptr;
}

} // namespace velloria
