#pragma once

#include "mainwindow/MainWindowModel.h"
#include "mainwindow/MainWindowObserver.h"
#include "store/Error.h"

#include <QMainWindow>

#include <array>

class QItemSelection;
class QLabel;
class QPlainTextEdit;
class QTableView;
class QTreeView;

namespace velloria {

class FolderTreeModel;
class LinkListModel;

// The main window: the folder tree, the selected folder's links, the description pane and
// the status bar. It forwards what the user does to the main window model and shows what the
// model reports; all decisions are the model's.
class MainForm : public QMainWindow, public MainWindowObserver {
    Q_OBJECT

public:
    explicit MainForm(MainWindowModel& model, QWidget* parent = nullptr);
    ~MainForm() override;

    // Runs a call of the model. An error is shown in a message box; the result says whether
    // the call went through.
    template <typename Action> bool run(Action&& action)
    {
        try {
            action();
            return true;
        } catch (const Error& error) {
            showError(error.what());
            return false;
        }
    }
    void showError(const char* message);

    void folderTreeAboutToBeReset() override;
    void folderTreeReset() override;
    void linkListAboutToBeReset() override;
    void linkListReset() override;
    void folderSelectionChanged() override;
    void rowSelectionChanged() override;
    void descriptionChanged() override;
    void statusBarChanged() override;
    void errorRaised(const char* message) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createFolderTree();
    void createLinkList();
    void createDescriptionPane();
    void createStatusBar();
    void createMenus();
    void arrangePanes();
    void connectViews();

    // View to model. Each is guarded so that the model's echo does not come back to the view.
    template <typename Action> void forward(bool& guard, Action&& action);
    void folderViewCurrentChanged(const QModelIndex& current);
    void folderViewExpandedChanged(const QModelIndex& index, bool expanded);
    void linkViewSelectionChanged();
    void viewFocused(bool listHasFocus);

    // Model to view.
    void showFolderExpansion();
    void showSelectedFolder();
    void showRowSelection();
    QItemSelection selectedRowRanges() const;
    void layOutStatusPanels();
    std::vector<std::size_t> viewSelectedRows() const;

    MainWindowModel& m_model;
    FolderTreeModel* m_folderModel = nullptr;
    LinkListModel* m_linkModel = nullptr;
    QTreeView* m_folderView = nullptr;
    QTableView* m_linkView = nullptr;
    QPlainTextEdit* m_descriptionPane = nullptr;
    std::array<QLabel*, kStatusPanelCount> m_statusPanels{};
    bool m_syncingFolders = false;
    bool m_syncingRows = false;
};

} // namespace velloria
