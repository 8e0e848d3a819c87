#include "gui/FolderTreeModel.h"

#include "gui/ImageList.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QMimeData>

namespace velloria {

namespace {

constexpr std::size_t npos = TFolderTree::npos;
const QString kFolderMimeType = QStringLiteral("application/x-velloria-folder");

// The data of a folder drag: the dragged folder's id. Only data made by this program's own tree
// is of this type, so a drag from another program, or from another copy of this one, never
// names a folder.
class FolderMimeData : public QMimeData {
public:
    explicit FolderMimeData(TFolderTree::FolderId id) : m_id(id)
    {
        setData(kFolderMimeType, QByteArray::number(static_cast<qulonglong>(id)));
    }
    TFolderTree::FolderId id() const { return m_id; }

private:
    TFolderTree::FolderId m_id;
};

const QString kLinksMimeType = QStringLiteral("application/x-velloria-links");

// The data of a drag of the selected links.
class LinksMimeData : public QMimeData {
public:
    LinksMimeData() { setData(kLinksMimeType, {}); }
};

} // namespace

QMimeData* FolderTreeModel::linksDrag()
{
    return new LinksMimeData;
}

QString FolderTreeModel::linksMimeType()
{
    return kLinksMimeType;
}

bool FolderTreeModel::carriesLinks(const QMimeData* data)
{
    return dynamic_cast<const LinksMimeData*>(data) != nullptr;
}

FolderTreeModel::FolderTreeModel(const MainWindowModel& model, QObject* parent)
    : QAbstractItemModel(parent),
      m_model(model),
      m_folderIcon(imageIcon(kFolderImage)),
      m_openFolderIcon(imageIcon(kOpenFolderImage))
{
}

const TFolderTree& FolderTreeModel::tree() const
{
    return m_model.library().folderTree();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const std::size_t folder = tree().childAt(folderOf(parent), static_cast<std::size_t>(row));
    return createIndex(row, column, static_cast<quintptr>(tree().idOf(folder)));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    const std::size_t folder = folderOf(child);
    if (folder == npos)
        return {};
    return indexOfFolder(tree().parentOf(folder));
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const std::size_t folder = folderOf(parent);
    if (parent.isValid() && folder == npos)
        return 0;
    return static_cast<int>(tree().childCount(folder));
}

int FolderTreeModel::columnCount(const QModelIndex& parent) const
{
    return parent.column() > 0 ? 0 : 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    // Cheaper than counting: the next folder in pre-order is a child or not.
    if (!parent.isValid())
        return !tree().empty();
    const std::size_t folder = folderOf(parent);
    return parent.column() == 0 && folder != npos && tree().hasChildren(folder);
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    const std::size_t folder = folderOf(index);
    if (folder == npos)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toQString(tree()[folder].Name);
    case Qt::DecorationRole:
        return tree()[folder].Selected ? m_openFolderIcon : m_folderIcon;
    default:
        return {};
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    return folderOf(index) == npos ? flags : flags | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

Qt::DropActions FolderTreeModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions FolderTreeModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

QStringList FolderTreeModel::mimeTypes() const
{
    return {kFolderMimeType, kLinksMimeType};
}

QMimeData* FolderTreeModel::mimeData(const QModelIndexList& indexes) const
{
    const std::size_t folder = indexes.size() == 1 ? folderOf(indexes.front()) : npos;
    return folder == npos ? nullptr : new FolderMimeData(tree().idOf(folder));
}

bool FolderTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction /*action*/, int row, int /*column*/,
                                      const QModelIndex& parent) const
{
    // A row of -1 is a drop onto the parent itself.
    if (row != -1)
        return false;
    if (carriesLinks(data))
        return m_model.reordering().linksDragOver(folderOf(parent));
    return m_model.reordering().trvFoldersDragOver(draggedFolder(data), folderOf(parent));
}

bool FolderTreeModel::dropMimeData(const QMimeData* /*data*/, Qt::DropAction /*action*/, int /*row*/,
                                   int /*column*/, const QModelIndex& /*parent*/)
{
    return false;
}

std::size_t FolderTreeModel::draggedFolder(const QMimeData* data) const
{
    const auto* folder = dynamic_cast<const FolderMimeData*>(data);
    return folder ? tree().indexOf(folder->id()) : npos;
}

std::size_t FolderTreeModel::folderOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return npos;
    return tree().indexOf(static_cast<TFolderTree::FolderId>(index.internalId()));
}

QModelIndex FolderTreeModel::indexOfFolder(std::size_t folder) const
{
    if (folder == npos || folder >= tree().count())
        return {};
    return createIndex(static_cast<int>(tree().rowOf(folder)), 0, static_cast<quintptr>(tree().idOf(folder)));
}

QModelIndex FolderTreeModel::indexOfId(TFolderTree::FolderId id) const
{
    return indexOfFolder(tree().indexOf(id));
}

void FolderTreeModel::beginTreeReset()
{
    beginResetModel();
}

void FolderTreeModel::endTreeReset()
{
    const std::size_t selected = m_model.tree().selectedFolder();
    m_openFolder = selected == npos ? 0 : tree().idOf(selected);
    endResetModel();
}

void FolderTreeModel::beginAddFolder(std::size_t parent, std::size_t row)
{
    beginInsertRows(indexOfFolder(parent), static_cast<int>(row), static_cast<int>(row));
}

void FolderTreeModel::endAddFolder()
{
    endInsertRows();
}

void FolderTreeModel::beginRemoveFolder(std::size_t folder)
{
    const int row = static_cast<int>(tree().rowOf(folder));
    beginRemoveRows(indexOfFolder(tree().parentOf(folder)), row, row);
}

void FolderTreeModel::endRemoveFolder()
{
    endRemoveRows();
}

void FolderTreeModel::beginMoveFolder(std::size_t folder, std::size_t destinationParent, std::size_t destinationRow)
{
    const int row = static_cast<int>(tree().rowOf(folder));
    m_moving = beginMoveRows(indexOfFolder(tree().parentOf(folder)), row, row, indexOfFolder(destinationParent),
                             static_cast<int>(destinationRow));
}

void FolderTreeModel::endMoveFolder()
{
    if (m_moving)
        endMoveRows();
    m_moving = false;
}

void FolderTreeModel::folderChanged(std::size_t folder)
{
    const QModelIndex changed = indexOfFolder(folder);
    if (changed.isValid())
        emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void FolderTreeModel::folderSelectionChanged()
{
    const std::size_t selected = m_model.tree().selectedFolder();
    const TFolderTree::FolderId now = selected == npos ? 0 : tree().idOf(selected);
    if (now == m_openFolder)
        return;
    const QModelIndex before = indexOfId(m_openFolder);
    m_openFolder = now;
    for (const QModelIndex& changed : {before, indexOfId(now)})
        if (changed.isValid())
            emit dataChanged(changed, changed, {Qt::DecorationRole});
}

} // namespace velloria
