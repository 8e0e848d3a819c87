#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Find": the text to look for, typed or taken from the texts searched before in this run
// (newest first). OK searches the library from its first folder; the search is the model's.
class FindForm : public QDialog {
    Q_OBJECT

public:
    FindForm(MainWindowModel& model, MainForm& owner);

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    void fillHistory();
    void confirm();

    MainWindowModel& m_model;
    MainForm& m_owner;
    QLabel* m_label = nullptr;
    QComboBox* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace velloria
