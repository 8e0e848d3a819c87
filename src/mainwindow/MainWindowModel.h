#pragma once

#include "mainwindow/MainWindowObserver.h"
#include "store/Library.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velloria {

class Clock;

inline constexpr std::size_t kStatusPanelCount = 5;

// The main window without a window: the library with its folder tree and the selected
// folder's links, the selection, the description pane and the status bar. Views (the Qt main
// form, a test recorder) observe it; the command-line tool runs it with no view at all.
class MainWindowModel {
public:
    MainWindowModel(std::filesystem::path home, const Clock& clock);

    void setObserver(MainWindowObserver* observer) { m_observer = observer; }

    Library& library() { return m_library; }
    const Library& library() const { return m_library; }
    const TFolderTree& folderTree() const { return m_library.folderTree(); }
    const TLinkList& linkList() const { return m_library.linkList(); }
    const std::vector<std::string>& linkDescriptions() const { return m_library.linkDescriptions(); }

    // Start: opens the library and shows the selected folder. Errors are thrown after the window
    // shows what could be read.
    void loadLibrary(RestoreFolderStates restore);

    // Save: the "~" generation becomes equal to the working files. Revert: the working files
    // go back to the last save (the answer No at close).
    void saveLibrary();
    void revertLibrary();
    bool libraryModified() const { return m_libraryModified; }
    const std::vector<std::string>& newFolders() const { return m_newFolders; }

    // The folder change: shows the folder's description and links. npos empties the panes.
    void selectFolder(std::size_t index);
    std::size_t selectedFolder() const { return folderTree().selectedIndex(); }
    void setFolderExpanded(std::size_t index, bool expanded);

    // Rows of the link list. The focused row is the one whose description the pane shows when
    // the list has the focus.
    void selectRows(const std::vector<std::size_t>& rows, std::size_t focusedRow);
    bool isRowSelected(std::size_t row) const { return row < m_rowSelected.size() && m_rowSelected[row]; }
    std::size_t focusedRow() const { return m_focusedRow; }
    void setListHasFocus(bool listHasFocus);

    const std::string& descriptionText() const { return m_descriptionText; }
    const std::string& statusPanel(std::size_t panel) const { return m_statusPanels[panel]; }

    static constexpr std::size_t npos = TFolderTree::npos;

private:
    void showFolderDescription();
    void showRowDescription();
    void updateStatusBar();
    template <typename Notice> void notify(Notice notice);

    Library m_library;
    MainWindowObserver* m_observer = nullptr;
    bool m_libraryModified = false;
    std::vector<std::string> m_newFolders; // folders created during this run
    std::vector<char> m_rowSelected;
    std::size_t m_focusedRow = npos;
    bool m_listHasFocus = false;
    std::string m_descriptionText;
    std::array<std::string, kStatusPanelCount> m_statusPanels;
};

} // namespace velloria
