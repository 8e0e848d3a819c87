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

    // Deletes links of any folders from a dialog over the main window (Find Duplicates, Check
    // Links): asked first over that dialog when the preferences say so, with these lines.
    static void deleteAsked(QWidget& over, MainWindowModel& model, MainForm& owner, std::vector<std::string> lines,
                            const std::function<void()>& remove);

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
