#pragma once

#include "gui/LinkTableModel.h"

#include <QIcon>

namespace velloria {

class MainWindowModel;

// The filter's rows as a Qt table: the link list's four columns and the link's folder. Rows are
// read from the window model's filter when the view asks for them, so a hundred thousand
// matches cost no more than ten.
class FilterListModel : public LinkTableModel {
    Q_OBJECT

public:
    enum Column { TitleColumn, AddressColumn, LastVisitColumn, AddDateColumn, FolderColumn, ColumnCount };

    explicit FilterListModel(const MainWindowModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Forwarded from the main window model's observer.
    void beginRowsReset() { beginResetModel(); }
    void endRowsReset() { endResetModel(); }
    void captionsChanged() { emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); }

private:
    const MainWindowModel& m_model;
    QIcon m_linkIcon;
};

} // namespace velloria
