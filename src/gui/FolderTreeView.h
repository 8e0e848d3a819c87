#pragma once

#include <QTimer>
#include <QTreeView>

namespace velloria {

// The view of the folder tree. A name wider than the pane is drawn whole, never shortened, and
// the pane scrolls sideways to it; a name cut at the pane's edge shows whole as its tooltip.
class FolderTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTreeView(QWidget* parent = nullptr);

    // The widest name the view has measured, and at least the pane's width, so that a short name
    // can be clicked and shown selected across the whole pane.
    int sizeHintForColumn(int column) const override;
    void setModel(QAbstractItemModel* model) override;

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void fitNamesSoon();
    bool showNameTip(const QHelpEvent& event);

    QTimer m_fitNames;
};

} // namespace velloria
