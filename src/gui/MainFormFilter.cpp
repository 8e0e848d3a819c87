// The filter field above the link list, and the list of the filter's rows that takes the folder
// list's place while the field holds a word.

#include "gui/FilterListModel.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace velloria {

void MainForm::createFilter()
{
    m_filterField = new QLineEdit;
    m_filterField->setObjectName(QStringLiteral("edFilter"));
    m_filterField->setClearButtonEnabled(true);
    m_filterField->installEventFilter(this);
    connect(m_filterField, &QLineEdit::textChanged, this,
            [this](const QString& text) { run([&] { m_model.filter().setText(toBytes(text)); }); });
    auto* focusField = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(focusField, &QShortcut::activated, this, [this] {
        m_filterField->setFocus(Qt::ShortcutFocusReason);
        m_filterField->selectAll();
    });

    m_filterModel = new FilterListModel(m_model, this);
    m_filterView = new QTableView;
    m_filterView->setObjectName(QStringLiteral("lvFiltered"));
    m_filterView->setModel(m_filterModel);
    setUpListView(*m_filterView);
    m_filterView->horizontalHeader()->setStretchLastSection(true);
    m_filterView->installEventFilter(this);
    m_filterView->viewport()->installEventFilter(this);
    const QItemSelectionModel* rows = m_filterView->selectionModel();
    connect(rows, &QItemSelectionModel::selectionChanged, this, [this] { filterViewSelectionChanged(); });
    connect(rows, &QItemSelectionModel::currentChanged, this, [this] { filterViewSelectionChanged(); });
    connect(m_filterView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column < FilterListModel::FolderColumn)
            run([&] { m_model.list().lvReferencesColumnClick(column); });
    });
    connect(m_filterView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showContextMenu(*m_filterView, position); });

    m_listStack = new QStackedWidget;
    m_listStack->addWidget(m_linkView);
    m_listStack->addWidget(m_filterView);
    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_filterField);
    layout->addWidget(m_listStack, 1);
    m_listSplitter->addWidget(pane);
}

// Escape empties the field and goes back to the folder's links; Enter and the down arrow go to
// the rows found.
bool MainForm::filterFieldKey(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Escape) {
        m_filterField->clear();
        m_linkView->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter || event.key() == Qt::Key_Down)
        && m_model.filter().active() && m_filterModel->rowCount() > 0) {
        m_filterView->setFocus(Qt::OtherFocusReason);
        if (!m_filterView->selectionModel()->hasSelection())
            m_filterView->selectRow(0);
        return true;
    }
    return false;
}

void MainForm::filterAboutToChange()
{
    m_filterModel->beginRowsReset();
}

void MainForm::filterChanged()
{
    {
        const QScopedValueRollback<bool> syncing(m_syncingRows, true);
        m_filterModel->endRowsReset();
    }
    const bool active = m_model.filter().active();
    QWidget* shown = active ? static_cast<QWidget*>(m_filterView) : m_linkView;
    if (m_listStack->currentWidget() == shown)
        return;
    if (active) { // the folder list's column widths (the last without the room it fills), the rest for the folder
        for (int column = 0; column < FilterListModel::AddDateColumn; ++column)
            m_filterView->setColumnWidth(column, m_linkView->columnWidth(column));
        m_filterView->setColumnWidth(FilterListModel::AddDateColumn, m_lastColumnWidth);
    }
    const bool focused = m_listStack->currentWidget()->hasFocus();
    m_listStack->setCurrentWidget(shown);
    if (focused)
        shown->setFocus(Qt::OtherFocusReason);
}

void MainForm::filterViewSelectionChanged()
{
    if (m_syncingRows)
        return;
    const QScopedValueRollback<bool> syncing(m_syncingRows, true);
    const QModelIndex current = m_filterView->selectionModel()->currentIndex();
    const std::vector<std::size_t> selected = viewSelectedRows(*m_filterView);
    const std::size_t focused = current.isValid() ? static_cast<std::size_t>(current.row()) : LinkFiltering::npos;
    run([&] { m_model.filter().selectRows(selected, focused); });
}

// The rows the model keeps selected after a change of the library.
void MainForm::showFilterSelection()
{
    QItemSelection selection;
    for (const std::size_t row : m_model.filter().selectedRows())
        selection.select(m_filterModel->index(static_cast<int>(row), 0),
                         m_filterModel->index(static_cast<int>(row), FilterListModel::ColumnCount - 1));
    m_filterView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const std::size_t focused = m_model.filter().focusedRow();
    if (focused != LinkFiltering::npos)
        m_filterView->selectionModel()->setCurrentIndex(m_filterModel->index(static_cast<int>(focused), 0),
                                                        QItemSelectionModel::NoUpdate);
}

} // namespace velloria
