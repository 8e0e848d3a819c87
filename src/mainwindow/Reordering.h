#pragma once

#include <cstddef>

namespace velloria {

class MainWindowModel;

// Moving the selected folder or links up and down, and dropping a folder onto another. A part
// of the window model, which it acts on.
class Reordering {
public:
    explicit Reordering(MainWindowModel& model) : m_model(model) {}
    Reordering(const Reordering&) = delete;
    Reordering& operator=(const Reordering&) = delete;

    void EditMoveUpExecute();
    void EditMoveDownExecute();
    bool trvFoldersDragOver(std::size_t dragged, std::size_t target) const;
    void trvFoldersDragDrop(std::size_t dragged, std::size_t target);

private:
    void moveFolder(bool up);
    void moveLinks(bool up);

    MainWindowModel& m_model;
};

} // namespace velloria
