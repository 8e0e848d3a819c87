#include "mainwindow/LinkListModel.h"

#include "mainwindow/MainWindowModel.h"
#include "platform/QtText.h"

#include <array>

namespace velloria {

namespace {

constexpr std::array<const char*, LinkListModel::ColumnCount> kColumnCaptions = {
    "Title", "Address", "Last Visit", "Add Date"};

} // namespace

LinkListModel::LinkListModel(const MainWindowModel& model, QObject* parent)
    : QAbstractTableModel(parent), m_model(model)
{
}

int LinkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_model.linkList().size());
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
    return {};
}

QVariant LinkListModel::cellText(int row, int column) const
{
    const TLinkRecord& link = m_model.linkList()[static_cast<std::size_t>(row)];
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
    return QString::fromLatin1(kColumnCaptions[static_cast<std::size_t>(section)]);
}

void LinkListModel::beginListReset()
{
    beginResetModel();
}

void LinkListModel::endListReset()
{
    endResetModel();
}

} // namespace velloria
