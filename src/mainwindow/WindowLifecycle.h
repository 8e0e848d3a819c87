#pragma once

#include "store/Library.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velloria {

class MainWindowModel;

// The window's start, its auto-save, saving and reverting the library, and its closing. A part
// of the window model, which it acts on; it keeps the folders made during this run and the
// auto-save interval.
class WindowLifecycle {
public:
    explicit WindowLifecycle(MainWindowModel& model) : m_model(model) {}
    WindowLifecycle(const WindowLifecycle&) = delete;
    WindowLifecycle& operator=(const WindowLifecycle&) = delete;

    void FormCreate();
    void loadLibrary(RestoreFolderStates restore); // the library step of FormCreate alone
    bool FormClose();                              // false: the window stays open
    void FormDestroy();
    void MainTimerTimer();
    void saveLibrary();   // FileSaveExecute
    void revertLibrary(); // the answer No at close

    // Whether the working files differ from the saved generation. Every command that changes
    // them says so through libraryChanged, which enables Save.
    bool libraryModified() const { return m_libraryModified; }
    void libraryChanged();

    std::optional<int> autoSaveInterval() const { return m_autoSaveInterval; } // milliseconds
    // Takes the interval from the preferences; the view hears that its timer changed.
    void startAutoSaveTimer();
    // The folders created during this run, which reverting the library removes again.
    const std::vector<std::string>& newFolders() const { return m_newFolders; }
    void addNewFolder(std::string name) { m_newFolders.push_back(std::move(name)); }

private:
    MainWindowModel& m_model;
    std::vector<std::string> m_newFolders;
    std::optional<int> m_autoSaveInterval;
    bool m_libraryModified = false;
};

} // namespace velloria
