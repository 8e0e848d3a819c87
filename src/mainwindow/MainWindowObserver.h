#pragma once

#include "settings/PreferenceSources.h"

#include <cstddef>
#include <optional>
#include <string>

namespace velloria {

enum class Pane { None, Tree, List };
enum class Answer { Yes, No, Cancel };
// The dialogs that the main window's commands open.
enum class DialogKind { NewItem, EditItem, DeleteConfirmation, Find, Statistics, Import, Export, GenHtml, Preferences };

// What a view of the main window model hears, and the few things the model asks of it.
// Structural changes of the tree and the list come as about-to/done pairs.
class MainWindowObserver {
public:
    virtual ~MainWindowObserver() = default;
    virtual void folderTreeAboutToBeReset() {}
    virtual void folderTreeReset() {}
    virtual void linkListAboutToBeReset() {}
    virtual void linkListReset() {}
    virtual void folderSelectionChanged() {} // the selected folder or the expanded flags
    virtual void rowSelectionChanged() {}    // the selected and focused rows of the link list
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
