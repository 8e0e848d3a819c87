#pragma once

#include "store/FolderTree.h"

#include <QAbstractItemModel>
#include <QIcon>

namespace velloria {

class MainWindowModel;

// The folder tree of the main window model as a Qt item model. It keeps no copy of the tree:
// every call reads the core tree, and an index carries the stable FolderId of its node, so
// indexes stay meaningful while folders are added or removed before and after them.
//
// A folder can be dragged onto another folder where the main window model allows it; the model
// only answers where, and never changes the tree itself: the view's drop goes to the main
// window model. (After a move the view asks to remove the dragged rows; the model declines.)
// The links selected in the list (the folder's or the filter's) can be dragged onto a folder
// too: their drag carries no data, only a type that this program's own lists give it.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit FolderTreeModel(const MainWindowModel& model, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    // The absolute index of the folder that a drag of this model carries; npos for any other data.
    std::size_t draggedFolder(const QMimeData* data) const;
    // A drag of the links selected in a list of this program, and whether data is one.
    static QMimeData* linksDrag();
    static QString linksMimeType();
    static bool carriesLinks(const QMimeData* data);

    // The absolute index of the folder in the core tree; npos for an invalid or stale index.
    std::size_t folderOf(const QModelIndex& index) const;
    // The item of a folder given by its absolute index; invalid for npos.
    QModelIndex indexOfFolder(std::size_t folder) const;

    // Forwarded from the main window model's observer.
    void beginTreeReset();
    void endTreeReset();
    void beginAddFolder(std::size_t parent, std::size_t row);
    void endAddFolder();
    void beginRemoveFolder(std::size_t folder);
    void endRemoveFolder();
    void beginMoveFolder(std::size_t folder, std::size_t destinationParent, std::size_t destinationRow);
    void endMoveFolder();
    void folderChanged(std::size_t folder);
    void folderSelectionChanged();

private:
    const TFolderTree& tree() const;
    QModelIndex indexOfId(TFolderTree::FolderId id) const;

    const MainWindowModel& m_model;
    QIcon m_folderIcon;
    QIcon m_openFolderIcon;
    // The folder drawn with the open icon, so that a new selection repaints the old one.
    TFolderTree::FolderId m_openFolder = 0;
    bool m_moving = false; // a move that Qt took: it ends with endMoveRows
};

} // namespace velloria
