#pragma once

#include "mainwindow/DeleteConfirmation.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Delete": asks before the selected folder or links go, listing them, with the choice never to
// ask again. What Yes deletes is the DeleteConfirmation's.
class DelMesForm : public QDialog {
    Q_OBJECT

public:
    DelMesForm(MainWindowModel& model, MainForm& owner);
    DelMesForm(DeleteConfirmation confirmation, MainWindowModel& model, MainForm& owner);

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    void answerYes();

    MainForm& m_owner;
    DeleteConfirmation m_confirmation;
    QLabel* m_question = nullptr;
    QPlainTextEdit* m_items = nullptr;
    QCheckBox* m_dontShowAgain = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};

} // namespace velloria
