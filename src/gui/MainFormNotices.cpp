// What the main window model reports, shown in the main window's widgets.

#include "gui/CommandActions.h"
#include "gui/FilterListModel.h"
#include "gui/FolderTreeModel.h"
#include "gui/LinkListModel.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace velloria {

namespace {

// The position in the UTF-16 text, as QTextCursor counts, of the character (code point) at the
// given index: a character outside the Basic Multilingual Plane takes two places.
int utf16Position(const QString& text, std::size_t character)
{
    qsizetype at = 0;
    for (std::size_t i = 0; i < character && at < text.size(); ++i)
        at += text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate() ? 2 : 1;
    return static_cast<int>(at);
}

} // namespace

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

// While a view takes a change of its rows, it moves its selection and current item along; the
// model, which owns the selection, is not told of that: it says what is selected afterwards.
template <typename Change> void MainForm::changeRows(Change&& change)
{
    const QScopedValueRollback<bool> syncing(m_syncingRows, true);
    change();
}

template <typename Change> void MainForm::changeFolders(Change&& change)
{
    const QScopedValueRollback<bool> syncing(m_syncingFolders, true);
    change();
}

void MainForm::linkRowsAboutToBeInserted(std::size_t first, std::size_t last)
{
    changeRows([&] { m_linkModel->beginInsertLinks(first, last); });
}

void MainForm::linkRowsInserted()
{
    changeRows([&] { m_linkModel->endInsertLinks(); });
}

void MainForm::linkRowsAboutToBeRemoved(std::size_t first, std::size_t last)
{
    changeRows([&] { m_linkModel->beginRemoveLinks(first, last); });
}

void MainForm::linkRowsRemoved()
{
    changeRows([&] { m_linkModel->endRemoveLinks(); });
}

void MainForm::linkRowsAboutToBeMoved(std::size_t first, std::size_t last, std::size_t destination)
{
    changeRows([&] { m_linkModel->beginMoveLinks(first, last, destination); });
}

void MainForm::linkRowsMoved()
{
    changeRows([&] { m_linkModel->endMoveLinks(); });
}

void MainForm::linkRowsChanged(std::size_t first, std::size_t last)
{
    m_linkModel->linksChanged(first, last);
}

void MainForm::folderAboutToBeAdded(std::size_t parent, std::size_t row)
{
    changeFolders([&] { m_folderModel->beginAddFolder(parent, row); });
}

void MainForm::folderAdded()
{
    changeFolders([&] {
        m_folderModel->endAddFolder();
        showFolderExpansion();
        showSelectedFolder();
    });
}

void MainForm::folderAboutToBeRemoved(std::size_t folder)
{
    changeFolders([&] { m_folderModel->beginRemoveFolder(folder); });
}

void MainForm::folderRemoved()
{
    changeFolders([&] {
        m_folderModel->endRemoveFolder();
        showSelectedFolder();
    });
}

void MainForm::folderAboutToBeMoved(std::size_t folder, std::size_t destinationParent, std::size_t destinationRow)
{
    changeFolders([&] { m_folderModel->beginMoveFolder(folder, destinationParent, destinationRow); });
}

void MainForm::folderMoved()
{
    changeFolders([&] {
        m_folderModel->endMoveFolder();
        showFolderExpansion();
        showSelectedFolder();
    });
}

void MainForm::folderChanged(std::size_t folder)
{
    m_folderModel->folderChanged(folder);
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
    if (m_model.filter().active())
        showFilterSelection();
    else
        showRowSelection();
}

void MainForm::descriptionChanged()
{
    m_descriptionPane->setExtraSelections({});
    m_descriptionPane->setPlainText(toQString(m_model.description().text()));
    if (const auto& highlight = m_model.description().highlight())
        highlightDescription(highlight->first, highlight->second);
}

void MainForm::highlightDescription(std::size_t start, std::size_t count)
{
    const QString text = m_descriptionPane->toPlainText();
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(m_descriptionPane->document());
    mark.cursor.setPosition(utf16Position(text, start));
    mark.cursor.setPosition(utf16Position(text, start + count), QTextCursor::KeepAnchor);
    // The colours of a selection, whether or not the pane or the window has the focus: the
    // focus goes to the tree or the list as the match is shown.
    const QPalette& palette = m_descriptionPane->palette();
    mark.format.setBackground(palette.color(QPalette::Active, QPalette::Highlight));
    mark.format.setForeground(palette.color(QPalette::Active, QPalette::HighlightedText));
    m_descriptionPane->setExtraSelections({mark});
    QTextCursor visible(m_descriptionPane->document());
    visible.setPosition(mark.cursor.anchor());
    m_descriptionPane->setTextCursor(visible);
    m_descriptionPane->ensureCursorVisible();
}

void MainForm::statusBarChanged()
{
    for (std::size_t i = 0; i < kStatusPanelCount; ++i)
        m_statusPanels[i]->setText(toQString(m_model.statusBar().text(i)));
    layOutStatusPanels();
}

void MainForm::commandsChanged()
{
    m_actions->showStates(m_model);
    showBars();
}

void MainForm::captionsChanged()
{
    m_actions->showCaptions(m_model);
    m_linkModel->captionsChanged();
    m_filterModel->captionsChanged();
    m_filterField->setPlaceholderText(toQString(m_model.texts()[text::FilterPlaceholder]));
}

void MainForm::autoSaveTimerChanged()
{
    if (const auto interval = m_model.lifecycle().autoSaveInterval())
        m_autoSaveTimer->start(*interval);
    else
        m_autoSaveTimer->stop();
}

void MainForm::focusRequested(Pane pane)
{
    if (pane == Pane::Tree)
        m_folderView->setFocus(Qt::OtherFocusReason);
    else if (pane == Pane::List)
        m_linkView->setFocus(Qt::OtherFocusReason);
}

void MainForm::showBars()
{
    m_toolBar->setVisible(m_model.commandStates().isChecked(Command::ViewToolbar));
    statusBar()->setVisible(m_model.commandStates().isChecked(Command::ViewStatusBar));
}

void MainForm::showFolderExpansion()
{
    const TFolderTree& tree = m_model.library().folderTree();
    for (std::size_t folder = 0; folder < tree.count(); ++folder)
        if (tree.hasChildren(folder))
            m_folderView->setExpanded(m_folderModel->indexOfFolder(folder), tree[folder].Expanded);
}

void MainForm::showSelectedFolder()
{
    const QModelIndex selected = m_folderModel->indexOfFolder(m_model.tree().selectedFolder());
    m_folderView->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
}

void MainForm::showRowSelection()
{
    QItemSelectionModel* selection = m_linkView->selectionModel();
    selection->select(selectedRowRanges(), QItemSelectionModel::ClearAndSelect);
    const std::size_t focused = m_model.selection().focusedRow();
    const QModelIndex current =
        focused == MainWindowModel::npos ? QModelIndex() : m_linkModel->index(static_cast<int>(focused), 0);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (current.isValid())
        m_linkView->scrollTo(current);
}

QItemSelection MainForm::selectedRowRanges() const
{
    // Runs of selected rows become one range each, so selecting all rows is a single range.
    QItemSelection ranges;
    const int rows = m_linkModel->rowCount();
    const auto selected = [this](int row) { return m_model.selection().isRowSelected(static_cast<std::size_t>(row)); };
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
    const int height = statusBar()->height();
    std::array<int, kStatusPanelCount> textWidths{};
    for (std::size_t i = 0; i < kStatusPanelCount; ++i) {
        const QLabel& panel = *m_statusPanels[i];
        textWidths[i] = panel.fontMetrics().horizontalAdvance(panel.text()) + 2 * (panel.margin() + panel.frameWidth()) + 4;
    }
    const std::array<int, kStatusPanelCount> widths = m_model.statusBar().fittedWidths(textWidths, statusBar()->width());
    int left = 0;
    for (std::size_t i = 0; i < kStatusPanelCount; ++i) {
        const int width = widths[i];
        m_statusPanels[i]->setGeometry(left, 0, width, height);
        left += width;
    }
}

} // namespace velloria
