#pragma once

#include "tools/LibraryLinks.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;
class StagedWrites;
struct FolderRows;

// Moving the selected folder or links up and down, dropping a folder onto another, and dropping
// the selected links onto a folder. A part of the window model, which it acts on.
class Reordering {
public:
    explicit Reordering(MainWindowModel& model) : m_model(model) {}
    Reordering(const Reordering&) = delete;
    Reordering& operator=(const Reordering&) = delete;

    void EditMoveUpExecute();
    void EditMoveDownExecute();
    bool trvFoldersDragOver(std::size_t dragged, std::size_t target) const;
    void trvFoldersDragDrop(std::size_t dragged, std::size_t target);
    // The rows selected in the list (the folder's or the filter's) dropped onto a folder: moved
    // there, or copied when copy is set, after its last row, each title made unique among the
    // folder's; the files written as one batch. Links already in the target stay as they are.
    // The target is shown afterwards with the links selected. Returns how many links went.
    std::size_t dropLinks(std::size_t target, bool copy);
    // Whether the selected links may be dropped onto the folder: one of them is elsewhere.
    bool linksDragOver(std::size_t target) const;

private:
    std::vector<LibraryLink> selectedLinks(std::vector<std::string>* descriptions) const;
    void takeOut(std::size_t folder, FolderRows& from, const std::vector<bool>& taken, StagedWrites& batch,
                 std::vector<std::size_t>& listRowsGone) const;
    void showDropped(std::size_t target, const FolderRows& into, std::size_t before,
                     const std::vector<std::size_t>& listRowsGone);
    void moveFolder(bool up);
    void moveLinks(bool up);

    MainWindowModel& m_model;
};

} // namespace velloria
