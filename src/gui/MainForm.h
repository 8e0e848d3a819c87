#pragma once

#include "base/Error.h"
#include "mainwindow/MainWindowModel.h"
#include "mainwindow/MainWindowObserver.h"

#include <QMainWindow>
#include <QRect>

#include <array>
#include <functional>
#include <optional>

class QAbstractScrollArea;
class QDialog;
class QDropEvent;
class QItemSelection;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QPlainTextEdit;
class QSplitter;
class QStackedWidget;
class QTableView;
class QTimer;
class QToolBar;
class QTreeView;

namespace velloria {

class CommandActions;
class FilterListModel;
class FolderTreeModel;
class LinkListModel;
class TrayIcon;

// The main window: menus, toolbar, the folder tree, the selected folder's links, the description
// pane and the status bar. It forwards what the user does to the main window model and shows
// what the model reports; all decisions are the model's.
class MainForm : public QMainWindow, public MainWindowObserver {
    Q_OBJECT

public:
    explicit MainForm(MainWindowModel& model, QWidget* parent = nullptr);
    ~MainForm() override;

    // Runs a call of the model. An error is shown in a message box; the result says whether
    // the call went through.
    template <typename Action> bool run(Action&& action)
    {
        try {
            action();
            return true;
        } catch (const Error& error) {
            showError(error.what());
            return false;
        }
    }
    void showError(const char* message);
    // A notice with an OK button and the information icon, such as the summary of an import.
    void inform(const std::string& text);

    // The window at the program's start, after the model's FormCreate: the notification-area
    // icon when the preferences ask for it and the desktop has a tray (trayAvailable, by default
    // the system's answer), then the window itself, hidden or minimized a moment later when the
    // preferences say to start minimized.
    void showAtStart(const std::function<bool()>& trayAvailable = {});
    TrayIcon* trayIcon() const { return m_trayIcon; }

    // Runs a command as its menu item does.
    void commandTriggered(Command command);

    // Shows a dialog of this window modally; the model's commands wait while it is open.
    int showModal(QDialog& dialog);

    // Marks characters of the description pane, as a search finds them: start (0-based) and
    // count in characters (Unicode code points) of the text the pane shows.
    void highlightDescription(std::size_t start, std::size_t count);

protected:
    // Notices of the model, which reaches the form as its observer.
    void folderTreeAboutToBeReset() override;
    void folderTreeReset() override;
    void linkListAboutToBeReset() override;
    void linkListReset() override;
    void linkRowsAboutToBeInserted(std::size_t first, std::size_t last) override;
    void linkRowsInserted() override;
    void linkRowsAboutToBeRemoved(std::size_t first, std::size_t last) override;
    void linkRowsRemoved() override;
    void linkRowsAboutToBeMoved(std::size_t first, std::size_t last, std::size_t destination) override;
    void linkRowsMoved() override;
    void linkRowsChanged(std::size_t first, std::size_t last) override;
    void folderAboutToBeAdded(std::size_t parent, std::size_t row) override;
    void folderAdded() override;
    void folderAboutToBeRemoved(std::size_t folder) override;
    void folderRemoved() override;
    void folderAboutToBeMoved(std::size_t folder, std::size_t destinationParent, std::size_t destinationRow) override;
    void folderMoved() override;
    void folderChanged(std::size_t folder) override;
    void folderSelectionChanged() override;
    void rowSelectionChanged() override;
    void filterAboutToChange() override;
    void filterChanged() override;
    void descriptionChanged() override;
    void statusBarChanged() override;
    void commandsChanged() override;
    void captionsChanged() override;
    void layoutPreferencesChanged() override;
    void coloursChanged() override;
    void autoSaveTimerChanged() override;
    void focusRequested(Pane pane) override;
    void aboutBoxRequested() override;
    void dialogRequested(DialogKind kind) override;
    void message(const std::string& text) override;
    Answer ask(const std::string& question) override;
    std::optional<WindowGeometry> windowGeometry() const override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    static constexpr int kMinimumColumnWidth = 20;

    // The measures and colours of the preferences, as last applied to the window.
    struct Layout {
        WindowGeometry geometry;
        std::array<TColor, 8> colours{};
        bool operator==(const Layout&) const = default;
    };

    // A dialog over the model's state, shown modally.
    template <typename Form> void showForm();

    // Building the window.
    void createFolderTree();
    void createLinkList();
    static void setUpListView(QTableView& view);
    // The filter field above the list and the list of its rows (MainFormFilter.cpp).
    void createFilter();
    void filterViewSelectionChanged();
    void showFilterSelection();
    bool filterFieldKey(const QKeyEvent& event);
    void createDescriptionPane();
    void arrangePanes();
    void createStatusBar();
    void createCommands();
    void connectViews();

    // User events to the model.
    void runFormCommand(Command command);
    template <typename Action> void forward(bool& guard, Action&& action);
    void folderViewCurrentChanged(const QModelIndex& current);
    void folderViewExpandedChanged(const QModelIndex& index, bool expanded);
    void linkViewSelectionChanged();
    Pane paneOf(const QObject* widget) const;
    void paneFocusIn(const QObject* widget);
    void paneFocusOut(const QObject* widget, Qt::FocusReason reason);
    void mouseEvent(const QObject* viewport, const QMouseEvent& event);
    void showContextMenu(const QAbstractScrollArea& view, const QPoint& position);
    void folderDropped(QDropEvent& event);

    // The model's state to the window.
    template <typename Change> void changeFolders(Change&& change);
    template <typename Change> void changeRows(Change&& change);
    void showFolderExpansion();
    void showSelectedFolder();
    void showRowSelection();
    QItemSelection selectedRowRanges() const;
    static std::vector<std::size_t> viewSelectedRows(const QTableView& view);
    void layOutStatusPanels();
    void showBars();

    // The remembered layout (MainFormLayout.cpp).
    static Layout layoutOf(const TPreferences& prefs);
    void placeWindow(const Layout& layout);
    void setColumnWidths(const std::array<int, 4>& widths);
    void fitLastColumn();
    void setPaneSizes(int folderPaneWidth, int descriptionHeight);
    void paintViews(const TPreferences& prefs);
    void styleMenus(const TPreferences& prefs);

    MainWindowModel& m_model;
    CommandActions* m_actions = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_contextMenu = nullptr;
    FolderTreeModel* m_folderModel = nullptr;
    LinkListModel* m_linkModel = nullptr;
    QTreeView* m_folderView = nullptr;
    QTableView* m_linkView = nullptr;
    FilterListModel* m_filterModel = nullptr;
    QTableView* m_filterView = nullptr;
    QLineEdit* m_filterField = nullptr;
    QStackedWidget* m_listStack = nullptr; // the folder's links or the filter's rows
    QPlainTextEdit* m_descriptionPane = nullptr;
    QSplitter* m_mainSplitter = nullptr;
    QSplitter* m_listSplitter = nullptr;
    std::array<QLabel*, kStatusPanelCount> m_statusPanels{};
    QTimer* m_autoSaveTimer = nullptr;
    TrayIcon* m_trayIcon = nullptr;
    std::optional<Layout> m_appliedLayout;
    Pane m_enteredPane = Pane::None;
    bool m_syncingFolders = false;
    bool m_syncingRows = false;
    int m_lastColumnWidth = 100; // the last column's own width, without the room it fills
    bool m_fittingLastColumn = false;
};

} // namespace velloria
