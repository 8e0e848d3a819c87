#include "gui/FilterListModel.h"

#include "gui/ImageList.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

namespace velloria {

FilterListModel::FilterListModel(const MainWindowModel& model, QObject* parent)
    : LinkTableModel(parent), m_model(model), m_linkIcon(imageIcon(kLinkImage))
{
}

int FilterListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_model.filter().rowCount());
}

int FilterListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FilterListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DecorationRole && index.column() == TitleColumn)
        return m_linkIcon;
    const bool tip = role == Qt::ToolTipRole && (index.column() == AddressColumn || index.column() == FolderColumn);
    if (role != Qt::DisplayRole && !tip)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == FolderColumn)
        return toQString(m_model.filter().folderPath(row));
    const LinkRecordView link = m_model.filter().link(row).link;
    const std::string_view columns[] = {link.Title, link.Address, link.LastVisit, link.AddDate};
    return toQString(columns[index.column()]);
}

QVariant FilterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == FolderColumn)
        return toQString(m_model.texts()[text::ColumnFolder]);
    return toQString(m_model.captions().columnCaption(section)); // with the sort mark, as the list's
}

} // namespace velloria
