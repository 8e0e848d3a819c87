// The user's events in the main window, each forwarded to the main window model.

#include "gui/CommandActions.h"
#include "gui/FolderTreeModel.h"
#include "gui/MainForm.h"
#include "gui/TrayIcon.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QTreeView>

namespace velloria {

void MainForm::commandTriggered(Command command)
{
    bool ran = false;
    run([&] { ran = m_model.execute(command); });
    // Qt checks a checkable action before the model decides; the model's state is what shows.
    m_actions->showStates(m_model);
    if (ran)
        runFormCommand(command);
}

// The part of a command that is the form's own: closing the window, opening a dialog.
void MainForm::runFormCommand(Command command)
{
    if (command == Command::FileExit)
        close();
}

void MainForm::showAtStart(const std::function<bool()>& trayAvailable)
{
    const bool tray = trayAvailable ? trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
    if (m_model.prefs().CreateTrayIcon && tray && !m_trayIcon) {
        m_trayIcon = new TrayIcon(m_model, *this);
        m_model.flags().TrayIconCreated = true;
    }
    show();
    if (!m_model.prefs().Minimized)
        return;
    // The window is first shown, so that it has its place when it comes back.
    QTimer::singleShot(10, this, [this] {
        if (m_model.flags().TrayIconCreated)
            hide();
        else
            setWindowState(windowState() | Qt::WindowMinimized);
    });
}

void MainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_model.flags().TrayIconCreated || !isMinimized())
        return;
    // With the icon in the notification area a minimized window leaves the taskbar: it is hidden,
    // once the window manager is done iconifying it. It stays minimized while hidden: taking the
    // state back maps the window again under X11, where it would stand as an empty frame that
    // nothing paints. The icon takes it back as it shows the window (TrayIcon::showMainWindow).
    QTimer::singleShot(0, this, [this] {
        if (isMinimized())
            hide();
    });
}

void MainForm::closeEvent(QCloseEvent* event)
{
    bool closing = false;
    run([&] { closing = m_model.lifecycle().FormClose(); });
    if (!closing) {
        event->ignore();
        return;
    }
    event->accept();
    // The preferences take the window's measures, so they are written while it still has them.
    run([this] { m_model.lifecycle().FormDestroy(); });
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        paneFocusIn(watched);
        break;
    case QEvent::FocusOut:
        paneFocusOut(watched, static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::KeyPress:
        if (watched == m_filterField && filterFieldKey(*static_cast<QKeyEvent*>(event)))
            return true;
        if (paneOf(watched) != Pane::None && m_actions->triggerShortcut(*static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        mouseEvent(watched, *static_cast<QMouseEvent*>(event));
        break;
    case QEvent::Drop:
        if (watched == m_folderView->viewport()) {
            folderDropped(*static_cast<QDropEvent*>(event));
            return true;
        }
        break;
    case QEvent::Resize:
        if (watched == statusBar())
            run([this] { m_model.MainStatusBarResize(statusBar()->width()); });
        else if (watched == m_linkView->viewport())
            fitLastColumn();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

Pane MainForm::paneOf(const QObject* widget) const
{
    if (widget == m_folderView)
        return Pane::Tree;
    return widget == m_linkView || widget == m_filterView ? Pane::List : Pane::None;
}

void MainForm::paneFocusIn(const QObject* widget)
{
    if (widget == m_descriptionPane) {
        run([this] { m_model.memDescrEnter(); });
        return;
    }
    const Pane entered = paneOf(widget);
    if (entered == Pane::None || entered == m_enteredPane)
        return; // back from a menu or another window
    m_enteredPane = entered;
    if (entered == Pane::Tree)
        run([this] { m_model.tree().trvFoldersEnter(); });
    else
        run([this] { m_model.list().lvReferencesEnter(); });
}

void MainForm::paneFocusOut(const QObject* widget, Qt::FocusReason reason)
{
    // A menu or another window takes the focus for a while: the pane has not been left.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    const Pane left = paneOf(widget);
    if (left == Pane::None || left != m_enteredPane)
        return;
    m_enteredPane = Pane::None;
    if (left == Pane::Tree)
        run([this] { m_model.tree().trvFoldersExit(); });
}

void MainForm::mouseEvent(const QObject* viewport, const QMouseEvent& event)
{
    const QEvent::Type type = event.type();
    if (viewport == m_folderView->viewport()) {
        if (type == QEvent::MouseButtonPress && event.button() == Qt::RightButton) {
            const QModelIndex item = m_folderView->indexAt(event.position().toPoint());
            run([&] { m_model.tree().trvFoldersMouseDown(m_folderModel->folderOf(item)); });
        } else if (type == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton) {
            run([this] { m_model.tree().trvFoldersClick(); });
        }
    } else if (viewport == m_filterView->viewport() && event.button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonDblClick)
            run([this] { m_model.list().lvReferencesDblClick(); });
    } else if (viewport == m_linkView->viewport() && event.button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonRelease)
            run([this] { m_model.list().lvReferencesClick(); });
        else if (type == QEvent::MouseButtonDblClick)
            run([this] { m_model.list().lvReferencesDblClick(); });
    }
}

void MainForm::showContextMenu(const QAbstractScrollArea& view, const QPoint& position)
{
    m_contextMenu->popup(view.viewport()->mapToGlobal(position));
}

void MainForm::folderDropped(QDropEvent& event)
{
    if (FolderTreeModel::carriesLinks(event.mimeData())) {
        const std::size_t target = m_folderModel->folderOf(m_folderView->indexAt(event.position().toPoint()));
        if (target == MainWindowModel::npos || !m_model.reordering().linksDragOver(target)) {
            event.ignore();
            return;
        }
        const bool copy = event.dropAction() == Qt::CopyAction; // Ctrl held, as the drag tells it
        event.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event.accept();
        run([&] { m_model.reordering().dropLinks(target, copy); });
        return;
    }
    const std::size_t dragged = m_folderModel->draggedFolder(event.mimeData());
    const std::size_t target = m_folderModel->folderOf(m_folderView->indexAt(event.position().toPoint()));
    if (dragged == MainWindowModel::npos || target == MainWindowModel::npos) {
        event.ignore();
        return;
    }
    event.acceptProposedAction();
    run([&] { m_model.reordering().trvFoldersDragDrop(dragged, target); });
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
    forward(m_syncingFolders, [&] { m_model.tree().selectFolder(m_folderModel->folderOf(current)); });
}

void MainForm::folderViewExpandedChanged(const QModelIndex& index, bool expanded)
{
    const std::size_t folder = m_folderModel->folderOf(index);
    if (folder != MainWindowModel::npos)
        forward(m_syncingFolders, [&] { m_model.tree().setFolderExpanded(folder, expanded); });
}

void MainForm::linkViewSelectionChanged()
{
    const QModelIndex current = m_linkView->selectionModel()->currentIndex();
    const std::size_t focused = current.isValid() ? static_cast<std::size_t>(current.row()) : MainWindowModel::npos;
    forward(m_syncingRows, [&] { m_model.list().selectRows(viewSelectedRows(*m_linkView), focused); });
}

std::vector<std::size_t> MainForm::viewSelectedRows(const QTableView& view)
{
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : view.selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

} // namespace velloria
