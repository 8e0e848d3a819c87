#include "gui/FolderTreeView.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>

namespace velloria {

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent)
{
    // A stretched column takes the pane's width and cuts what is wider. The column is fitted to
    // the names in view (a tree of thousands of folders is not measured whole), once per turn of
    // the event loop however many folders changed, and again as the tree scrolls.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setResizeContentsPrecision(0);
    setTextElideMode(Qt::ElideNone);
    m_fitNames.setSingleShot(true);
    m_fitNames.setInterval(0);
    connect(&m_fitNames, &QTimer::timeout, this, [this] { resizeColumnToContents(0); });
    connect(this, &QTreeView::expanded, this, &FolderTreeView::fitNamesSoon);
    connect(this, &QTreeView::collapsed, this, &FolderTreeView::fitNamesSoon);
}

void FolderTreeView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    connect(model, &QAbstractItemModel::modelReset, this, &FolderTreeView::fitNamesSoon);
    connect(model, &QAbstractItemModel::layoutChanged, this, &FolderTreeView::fitNamesSoon);
    connect(model, &QAbstractItemModel::rowsInserted, this, &FolderTreeView::fitNamesSoon);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FolderTreeView::fitNamesSoon);
    connect(model, &QAbstractItemModel::dataChanged, this, &FolderTreeView::fitNamesSoon);
    fitNamesSoon();
}

void FolderTreeView::fitNamesSoon()
{
    m_fitNames.start();
}

int FolderTreeView::sizeHintForColumn(int column) const
{
    return std::max(QTreeView::sizeHintForColumn(column), viewport()->width());
}

void FolderTreeView::scrollContentsBy(int dx, int dy)
{
    QTreeView::scrollContentsBy(dx, dy);
    if (dy != 0)
        fitNamesSoon();
}

void FolderTreeView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    fitNamesSoon();
}

bool FolderTreeView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return showNameTip(static_cast<const QHelpEvent&>(*event));
    return QTreeView::viewportEvent(event);
}

bool FolderTreeView::showNameTip(const QHelpEvent& event)
{
    const QModelIndex item = indexAt(event.pos());
    // The column is as wide as the widest name: what a name needs is its own size.
    const QRect rect = visualRect(item);
    const QRect needed(rect.topLeft(), QSize(sizeHintForIndex(item).width(), rect.height()));
    if (item.isValid() && !viewport()->rect().contains(needed))
        QToolTip::showText(event.globalPos(), item.data().toString(), viewport(), rect);
    else
        QToolTip::hideText();
    return true;
}

} // namespace velloria
