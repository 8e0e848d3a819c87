#pragma once

#include "gui/FolderTreeModel.h"

#include <QAbstractTableModel>
#include <QMimeData>

namespace velloria {

// What the two lists of links (a folder's and the filter's) share: their selected rows are
// dragged onto folders of the tree, moved or with Ctrl copied (FolderTreeModel::linksDrag).
class LinkTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
    }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    QStringList mimeTypes() const override { return {FolderTreeModel::linksMimeType()}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override
    {
        return indexes.isEmpty() ? nullptr : FolderTreeModel::linksDrag();
    }
};

} // namespace velloria
