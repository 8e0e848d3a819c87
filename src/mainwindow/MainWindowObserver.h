#pragma once

#include "settings/PreferenceSources.h"

#include <cstddef>
#include <optional>
#include <string>

namespace velloria {

enum class Pane { None, Tree, List };
enum class Answer { Yes, No, Cancel };
// The dialogs that the main window's commands open.
enum class DialogKind { NewItem, EditItem, DeleteConfirmation, Find, Statistics, Duplicates, CheckLinks, Import, Export, GenHtml, Preferences };

// Structural changes of the tree and the list come as about-to/done pairs: the about-to notice
// comes while the tree or the list is still as before, the done notice once it has changed.
// Between the two the model changes nothing else. The resets come only when the whole tree or
// list is replaced: a library loaded, reverted or imported, another folder shown, a new order.

// What a view of the folder tree hears. Folders are named by their absolute index in the tree's
// pre-order; npos for a parent is the top level. A folder goes with its whole subtree.
class FolderTreeNotices {
public:
    virtual ~FolderTreeNotices() = default;
    virtual void folderTreeAboutToBeReset() {}
    virtual void folderTreeReset() {}
    virtual void folderAboutToBeAdded(std::size_t /*parent*/, std::size_t /*row*/) {} // row among its siblings
    virtual void folderAdded() {}
    virtual void folderAboutToBeRemoved(std::size_t /*folder*/) {}
    virtual void folderRemoved() {}
    // The folder goes before the child now at destinationRow of destinationParent (the child
    // count: to the end); never into its own subtree, never to where it is.
    virtual void folderAboutToBeMoved(std::size_t /*folder*/, std::size_t /*destinationParent*/,
                                      std::size_t /*destinationRow*/) {}
    virtual void folderMoved() {}
    virtual void folderChanged(std::size_t /*folder*/) {} // its name
    virtual void folderSelectionChanged() {} // the selected folder or the expanded flags
};

// What a view of the link list hears. Rows are counted in the list as shown; first to last,
// both included.
class LinkListNotices {
public:
    virtual ~LinkListNotices() = default;
    virtual void linkListAboutToBeReset() {}
    virtual void linkListReset() {}
    virtual void linkRowsAboutToBeInserted(std::size_t /*first*/, std::size_t /*last*/) {} // the new rows' places
    virtual void linkRowsInserted() {}
    virtual void linkRowsAboutToBeRemoved(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void linkRowsRemoved() {}
    // The rows go before the row now at destination (the row count: to the end); destination
    // is never inside first to last + 1.
    virtual void linkRowsAboutToBeMoved(std::size_t /*first*/, std::size_t /*last*/, std::size_t /*destination*/) {}
    virtual void linkRowsMoved() {}
    virtual void linkRowsChanged(std::size_t /*first*/, std::size_t /*last*/) {} // the values of the rows
    virtual void rowSelectionChanged() {} // the selected and focused rows
    // The filter's rows (model.filter()) are about to be replaced, and have been: another text, a
    // change of the library, another order. Before the first and after the last the list shows
    // the selected folder.
    virtual void filterAboutToChange() {}
    virtual void filterChanged() {}
};

// What a view of the whole main window model hears, and the few things the model asks of it.
class MainWindowObserver : public FolderTreeNotices, public LinkListNotices {
public:
    virtual void descriptionChanged() {}     // the description pane's text or highlight
    virtual void statusBarChanged() {}       // the texts and widths of the status bar panels
    virtual void commandsChanged() {}        // enabled and checked states of the commands
    virtual void captionsChanged() {}        // captions, hints and column headers
    virtual void layoutPreferencesChanged() {} // bounds, widths, colours and bars to apply
    virtual void coloursChanged() {}         // the menu, toolbar, tree and list colours to apply
    virtual void autoSaveTimerChanged() {}
    virtual void focusRequested(Pane) {}
    virtual void aboutBoxRequested() {}
    // A command asks for one of its dialogs; the view shows it modally over the window.
    virtual void dialogRequested(DialogKind) {}

    // A notice with an OK button and the exclamation icon.
    virtual void message(const std::string& /*text*/) {}
    // Asks a question with Yes, No and Cancel; a model without a view takes Cancel.
    virtual Answer ask(const std::string& /*question*/) { return Answer::Cancel; }
    // The window's current measures; nullopt without a window.
    virtual std::optional<WindowGeometry> windowGeometry() const { return std::nullopt; }
};

} // namespace velloria
