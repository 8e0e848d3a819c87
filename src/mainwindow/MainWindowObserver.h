#pragma once

#include <cstddef>

namespace velloria {

// What a view of the main window model hears. Structural changes of the tree and the list come
// as a reset (a later change can add finer notices); state changes say what to re-read.
class MainWindowObserver {
public:
    virtual ~MainWindowObserver() = default;
    virtual void folderTreeAboutToBeReset() {}
    virtual void folderTreeReset() {}
    virtual void linkListAboutToBeReset() {}
    virtual void linkListReset() {}
    virtual void folderSelectionChanged() {}  // the selected folder or the expanded flags
    virtual void rowSelectionChanged() {}     // the selected rows of the link list
    virtual void descriptionChanged() {}      // the description pane's text
    virtual void statusBarChanged() {}        // the texts of the status bar panels
    virtual void errorRaised(const char* /*message*/) {}
};

} // namespace velloria
