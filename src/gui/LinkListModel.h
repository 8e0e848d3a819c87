#pragma once

#include "gui/LinkTableModel.h"

#include <QIcon>

namespace velloria {

class MainWindowModel;

// The selected folder's links as a Qt table. Rows are read from the core list when the view
// asks for them, so a reset costs the same for ten links as for a hundred thousand.
class LinkListModel : public LinkTableModel {
    Q_OBJECT

public:
    enum Column { TitleColumn, AddressColumn, LastVisitColumn, AddDateColumn, ColumnCount };

    explicit LinkListModel(const MainWindowModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Forwarded from the main window model's observer.
    void beginListReset();
    void endListReset();
    void beginInsertLinks(std::size_t first, std::size_t last);
    void endInsertLinks();
    void beginRemoveLinks(std::size_t first, std::size_t last);
    void endRemoveLinks();
    void beginMoveLinks(std::size_t first, std::size_t last, std::size_t destination);
    void endMoveLinks();
    void linksChanged(std::size_t first, std::size_t last);
    void captionsChanged();

private:
    QVariant cellText(int row, int column) const;

    const MainWindowModel& m_model;
    QIcon m_linkIcon;
    bool m_moving = false; // a move that Qt took: it ends with endMoveRows
};

} // namespace velloria
