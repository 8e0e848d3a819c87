#pragma once

#include "mainwindow/DuplicatesDialog.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Duplicates": the groups of the same link, each link with a check box that the proposal sets,
// the loose rule, and Delete Checked, Open, Show and Close. What they do is the
// DuplicatesDialog's. The dialog keeps its size for the run.
class DuplicatesForm : public QDialog {
    Q_OBJECT

public:
    DuplicatesForm(MainWindowModel& model, MainForm& owner);
    ~DuplicatesForm() override;

protected:
    // Enter on a link opens it; the list would pass the key on to the Close button as well.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    void fillList();
    void updateButtons();
    void linkChecked(QTreeWidgetItem* item);
    void deleteChecked();
    // The group and member of the current row, or of a row, when it is a link's.
    bool currentLink(std::size_t& group, std::size_t& member) const;
    static bool linkOf(const QTreeWidgetItem* item, std::size_t& group, std::size_t& member);

    MainWindowModel& m_model;
    MainForm& m_owner;
    DuplicatesDialog m_dialog;
    bool m_filling = false;
    QTreeWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    QCheckBox* m_loose = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace velloria
