#pragma once

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;
class QPushButton;

namespace velloria {

class MainForm;
class MainWindowModel;

// "Statistics": the numbers of folders and links, the size of the library's files and the free
// space of the file system holding them, computed once when the dialog is made.
class StatisticsForm : public QDialog {
    Q_OBJECT

public:
    StatisticsForm(MainWindowModel& model, MainForm& owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void arrangeControls();
    void fillFields();
    void showPendingError();

    MainWindowModel& m_model;
    MainForm& m_owner;
    std::array<QLineEdit*, 4> m_fields{};
    QPushButton* m_ok = nullptr;
    std::string m_error; // a file error of the counting, shown once the dialog is up
};

} // namespace velloria
