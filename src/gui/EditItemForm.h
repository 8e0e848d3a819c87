#pragma once

#include "gui/DialogFields.h"
#include "mainwindow/ItemDialogs.h"

#include <QDialog>

class QPushButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Edit Item": the title, address and description of the selected folder or link, as the
// EditItemDialog reads them; confirming hands the fields to it.
class EditItemForm : public QDialog {
    Q_OBJECT

public:
    EditItemForm(MainWindowModel& model, MainForm& owner);

private:
    void arrangeControls();
    void connectControls();
    void confirm();

    MainForm& m_owner;
    EditItemDialog m_dialog;
    ItemFields m_fields;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace velloria
