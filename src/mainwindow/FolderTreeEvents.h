#pragma once

#include <cstddef>

namespace velloria {

class MainWindowModel;

// The folder tree's events: a folder selected, the pane entered and left, a click, a folder
// expanded or collapsed, and the commands that expand or collapse them all. Selecting a folder
// shows its links, description and counts. A part of the window model, which it acts on.
class FolderTreeEvents {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit FolderTreeEvents(MainWindowModel& model) : m_model(model) {}
    FolderTreeEvents(const FolderTreeEvents&) = delete;
    FolderTreeEvents& operator=(const FolderTreeEvents&) = delete;

    void selectFolder(std::size_t index); // trvFoldersChange
    void trvFoldersEnter();
    void trvFoldersExit();
    void trvFoldersMouseDown(std::size_t indexUnderPointer);
    void trvFoldersClick();
    void setFolderExpanded(std::size_t index, bool expanded);
    void expandAllFolders();
    void collapseAllFolders();

    std::size_t selectedFolder() const;
    // True when the list holds the links of this folder (the command-line tool shows none).
    bool listShows(std::size_t folder) const;

private:
    MainWindowModel& m_model;
};

} // namespace velloria
