#pragma once

#include "gui/DialogFields.h"
#include "mainwindow/ItemDialogs.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Add New Item": a folder or a link, its title, address and description. What the choice
// enables and what confirming adds is the NewItemDialog's; the form shows its state.
class NewItemForm : public QDialog {
    Q_OBJECT

public:
    NewItemForm(MainWindowModel& model, MainForm& owner);

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    // Runs a change of the dialog's logic and shows the state it leaves.
    template <typename Action> void change(Action&& action);
    void showState();
    void confirm(Confirmation confirmation);

    MainForm& m_owner;
    NewItemDialog m_dialog;
    ItemFields m_fields;
    QGroupBox* m_itemType = nullptr;
    QRadioButton* m_folder = nullptr;
    QRadioButton* m_link = nullptr;
    QCheckBox* m_addFolderInFolder = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace velloria
