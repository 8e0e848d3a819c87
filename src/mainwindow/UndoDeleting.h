#pragma once

#include "store/Undo.h"
#include "tools/Duplicates.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// Deleting the selected folder or links, and the undo of the last deletion: its state is the
// deleted links, or the deleted folders whose link files wait as undo copies. A part of the
// window model, which it acts on.
class UndoDeleting {
public:
    explicit UndoDeleting(MainWindowModel& model) : m_model(model) {}
    UndoDeleting(const UndoDeleting&) = delete;
    UndoDeleting& operator=(const UndoDeleting&) = delete;

    void deleteSelectedFolder();
    void deleteSelectedLinks();
    // Deletes links of any folders, as the duplicate finder chose them: each is looked for in
    // its folder by its columns, at its row first. A link no longer there, and the links of a
    // file read only up to a damaged line, stay. The files are written as one batch; Undo puts
    // every link back in its folder at its row. Returns how many links went.
    std::size_t deleteLinks(const std::vector<LibraryLink>& links);
    void SaveUndoState(bool isFolder, const std::string& folderName);
    void RestoreUndoState();
    const UndoState& undoState() const { return m_undo; }

private:
    friend class MainWindowModel; // saving and closing discard the folders' undo copies
    friend class WindowLifecycle;

    void afterRowsRemoved(std::size_t rememberedRow);
    void restoreLinksOfFolders();

    MainWindowModel& m_model;
    UndoState m_undo;
};

} // namespace velloria
