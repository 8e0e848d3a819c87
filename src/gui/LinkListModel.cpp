#include "gui/LinkListModel.h"

#include "gui/ImageList.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

namespace velloria {

LinkListModel::LinkListModel(const MainWindowModel& model, QObject* parent)
    : LinkTableModel(parent), m_model(model), m_linkIcon(imageIcon(kLinkImage))
{
}

int LinkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_model.library().linkList().size());
}

int LinkListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LinkListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    // The address column is often cut off; its tooltip shows the whole address.
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == AddressColumn))
        return cellText(index.row(), index.column());
    if (role == Qt::DecorationRole && index.column() == TitleColumn)
        return m_linkIcon;
    return {};
}

QVariant LinkListModel::cellText(int row, int column) const
{
    const TLinkRecord& link = m_model.library().linkList()[static_cast<std::size_t>(row)];
    switch (column) {
    case TitleColumn:
        return toQString(link.Title);
    case AddressColumn:
        return toQString(link.Address);
    case LastVisitColumn:
        return toQString(link.LastVisit);
    case AddDateColumn:
        return toQString(link.AddDate);
    default:
        return {};
    }
}

QVariant LinkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The sorted column's caption ends in " +" or " -", as the model gives it.
    return toQString(m_model.captions().columnCaption(section));
}

void LinkListModel::beginListReset()
{
    beginResetModel();
}

void LinkListModel::endListReset()
{
    endResetModel();
}

void LinkListModel::beginInsertLinks(std::size_t first, std::size_t last)
{
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void LinkListModel::endInsertLinks()
{
    endInsertRows();
}

void LinkListModel::beginRemoveLinks(std::size_t first, std::size_t last)
{
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void LinkListModel::endRemoveLinks()
{
    endRemoveRows();
}

void LinkListModel::beginMoveLinks(std::size_t first, std::size_t last, std::size_t destination)
{
    m_moving = beginMoveRows({}, static_cast<int>(first), static_cast<int>(last), {}, static_cast<int>(destination));
}

void LinkListModel::endMoveLinks()
{
    if (m_moving)
        endMoveRows();
    m_moving = false;
}

void LinkListModel::linksChanged(std::size_t first, std::size_t last)
{
    emit dataChanged(index(static_cast<int>(first), 0), index(static_cast<int>(last), ColumnCount - 1));
}

void LinkListModel::captionsChanged()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

} // namespace velloria
