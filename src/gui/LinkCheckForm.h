#pragma once

#include "mainwindow/LinkCheckDialog.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeView;
class QWidget;

namespace velloria {

class LinkCheckResults;
class MainForm;
class MainWindowModel;

// "Check Links": which links to check, the check's progress with Cancel while a thread of its own
// checks them, and then the results list with its filter and the buttons Update Address, Delete,
// Open, Show and Close. What they do is the LinkCheckDialog's. The dialog keeps its size for the
// run.
class LinkCheckForm : public QDialog {
    Q_OBJECT

public:
    LinkCheckForm(MainWindowModel& model, MainForm& owner);
    ~LinkCheckForm() override;

    // How often the progress is shown while the check runs.
    static constexpr int kProgressEveryMs = 50;

    void reject() override; // Escape, Close and the window's close button: a running check is cancelled

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    void startCheck();
    void showProgress();
    void showResults();
    void updateButtons();
    void deleteSelected();
    // The list after a change to the links, the current row at its place.
    void refreshList();
    std::vector<std::size_t> selectedLinks() const;
    std::optional<std::size_t> currentLink() const;

    MainWindowModel& m_model;
    MainForm& m_owner;
    LinkCheckDialog m_dialog;
    QRadioButton* m_folder = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QRadioButton* m_library = nullptr;
    QPushButton* m_start = nullptr;
    QWidget* m_progressPanel = nullptr;
    QLabel* m_progressLine = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_inHand = nullptr;
    QPushButton* m_cancel = nullptr;
    QWidget* m_resultsPanel = nullptr;
    QComboBox* m_filter = nullptr;
    QTreeView* m_list = nullptr;
    LinkCheckResults* m_results = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_update = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_close = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace velloria
