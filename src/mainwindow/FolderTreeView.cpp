#include "mainwindow/FolderTreeView.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>

namespace velloria {

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent)
{
    // A stretched column takes the pane's width and cuts what is wider.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
}

int FolderTreeView::sizeHintForColumn(int column) const
{
    return std::max(QTreeView::sizeHintForColumn(column), viewport()->width());
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
