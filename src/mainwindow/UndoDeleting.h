#pragma once

#include "store/Undo.h"

#include <cstddef>
#include <string>

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
    void SaveUndoState(bool isFolder, const std::string& folderName);
    void RestoreUndoState();
    const UndoState& undoState() const { return m_undo; }

private:
    friend class MainWindowModel; // saving and closing discard the folders' undo copies
    friend class WindowLifecycle;

    void afterRowsRemoved(std::size_t rememberedRow);

    MainWindowModel& m_model;
    UndoState m_undo;
};

} // namespace velloria
