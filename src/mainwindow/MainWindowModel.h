#pragma once

#include "interchange/ExchangeLibrary.h"
#include "mainwindow/CommandStates.h"
#include "mainwindow/CommandTexts.h"
#include "mainwindow/DescriptionPane.h"
#include "mainwindow/FolderTreeEvents.h"
#include "mainwindow/ItemEditing.h"
#include "mainwindow/LibrarySearch.h"
#include "mainwindow/LinkClipboard.h"
#include "mainwindow/LinkFiltering.h"
#include "mainwindow/LinkListEvents.h"
#include "mainwindow/MainWindowObserver.h"
#include "mainwindow/Reordering.h"
#include "mainwindow/RowSelection.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/UndoDeleting.h"
#include "mainwindow/WindowFlags.h"
#include "mainwindow/WindowLifecycle.h"
#include "settings/Preferences.h"
#include "settings/UIText.h"
#include "store/Library.h"
#include "store/Undo.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velloria {

class Clock;
class UrlOpener;

// The main window without a window: the library with its folder tree and the selected folder's
// links, the program-wide preferences and texts, the selection and focus, the commands with
// their enabled and checked states, the description pane and the status bar. Views (the Qt main
// form, a test recorder) observe it and forward the user's events to its handlers, which are
// named after the events; the command-line tool runs it with no view at all.
class MainWindowModel : private MainWindowPreferenceSource, public ExchangeLibrary {
public:
    MainWindowModel(std::filesystem::path home, const Clock& clock, UrlOpener& opener,
                    std::filesystem::path userHome);
    ~MainWindowModel() override;

    void setObserver(MainWindowObserver* observer) { m_observer = observer; }
    // A model that only looks (the command-line tool's search): showing a sorted folder does
    // not store its order, and a search does not record the folder states.
    void setLookOnly(bool lookOnly) { m_lookOnly = lookOnly; }

    // The folder tree, the selected folder's links and descriptions, and the files behind them.
    Library& library() override { return m_library; }
    const Library& library() const { return m_library; }
    Preferences& preferences() { return m_preferences; }
    const TPreferences& prefs() const { return m_preferences.record(); }
    const UIText& texts() const { return m_texts; }

    // Start-up, saving, auto-save and closing.
    WindowLifecycle& lifecycle() { return m_lifecycle; }
    // A window of the program over the main window (a dialog, a question, an error box) is open
    // for the lifetime of one of these. While any is open, no main-window command runs, the
    // auto-save timer's included. Windows stack (an error box over a dialog), so they are counted.
    class ModalWindow {
    public:
        explicit ModalWindow(const MainWindowModel& model) : m_open(model.m_modalWindows) { ++m_open; }
        ~ModalWindow() { --m_open; }
        ModalWindow(const ModalWindow&) = delete;
        ModalWindow& operator=(const ModalWindow&) = delete;

    private:
        int& m_open;
    };
    bool dialogActive() const { return m_modalWindows > 0; }
    // A dialog has closed, whatever its answer: the view hears of the command states that its
    // work changed (the description stays as it is).
    void dialogClosed();

    // Commands. execute passes the gate: nothing runs while a dialog is active or while the
    // command is disabled. Returns whether the command ran.
    bool execute(Command command);
    CommandStates commandStates() const { return velloria::commandStates(commandInputs()); }
    // The commands' captions and hints, the menus' captions and the columns' headers.
    const CommandTexts& captions() const { return m_captions; }

    // The events of the folder tree and of the link list.
    FolderTreeEvents& tree() { return m_tree; }
    const FolderTreeEvents& tree() const { return m_tree; }
    LinkListEvents& list() { return m_list; }
    // The selected and focused rows, and the pane with the focus.
    const RowSelection& selection() const { return m_selection; }

    // The description pane and the status bar.
    Pane memDescrEnter(); // the pane never keeps the focus: where it goes instead
    void MainStatusBarResize(int width);
    const DescriptionPane& description() const { return m_description; }
    const StatusPanels& statusBar() const { return m_statusPanels; }

    // Window-state flags. The window sets TrayIconCreated, the item dialogs and the tray menu
    // the new item's kind and address.
    WindowFlags& flags() { return m_flags; }

    // The Preferences dialog has stored the preferences: the window takes them again with their
    // language, colours and auto-save interval, the focus goes to the tree, and the description
    // and the status bar show the new texts.
    void preferencesApplied();
    // Asks the view a question with Yes, No and Cancel; without a view the answer is Cancel.
    Answer ask(const std::string& question) const;
    // Shows the view a notice with an OK button.
    void message(const std::string& text) const;

    // Adding and editing folders and links.
    ItemEditing& editing() { return m_editing; }

    // Deleting and the undo of the last deletion.
    UndoDeleting& deleting() { return m_deleting; }

    // The link clipboard: Cut, Copy and Paste.
    LinkClipboard& clipboard() { return m_clipboard; }

    // Find and Find Again.
    LibrarySearch& search() { return m_search; }
    const LibrarySearch& search() const { return m_search; }

    // The filter above the link list and the commands on its rows.
    LinkFiltering& filter() { return m_filter; }
    const LinkFiltering& filter() const { return m_filter; }

    // Moving up and down, and dropping a folder onto another.
    Reordering& reordering() { return m_reordering; }
    const Reordering& reordering() const { return m_reordering; }

    static constexpr std::size_t npos = TFolderTree::npos;

private:
    friend class FolderTreeEvents;
    friend class LinkListEvents;
    friend class LinkClipboard;
    friend class UndoDeleting;
    friend class Reordering;
    friend class ItemEditing;
    friend class LibrarySearch;
    friend class WindowLifecycle;
    friend class LinkFiltering;

    // The library as import and export see it.
    const Clock& clock() const override { return m_clock; }
    TPreferences& exchangePreferences() override { return m_preferences.record(); }
    ExchangeMemory& exchangeMemory() override { return m_exchangeMemory; }
    const std::filesystem::path& userHome() const override { return m_preferences.userHome(); }
    void selectFolder(std::size_t index) override { m_tree.selectFolder(index); }
    // Folders made by an import, their link files and descriptions already written: new
    // top-level folders with their subfolders in pre-order, appended after the last folder.
    // They count as new folders of this run; the tree file is written. Returns the index of the
    // first; the caller selects what the import left selected.
    std::size_t addImportedFolders(std::vector<TFolderRecord> records) override;

    const TFolderTree& folderTree() const { return m_library.folderTree(); }
    const TLinkList& linkList() const { return m_library.linkList(); }
    std::size_t selectedFolder() const { return m_library.folderTree().selectedIndex(); }
    // Texts of the table into captions, hints, column headers and the description label.
    void applyTexts();
    MainWindowLayout preferenceLayout() const override;
    template <typename Notice> void notify(Notice notice) const
    {
        if (m_observer)
            notice(*m_observer);
    }
    // The facts behind the commands' states have changed: the view hears of the states that
    // changed with them.
    CommandInputs commandInputs() const;
    void updateCommands();
    // Updates the commands when an event ends, also when an error ends it.
    class CommandsUpdate {
    public:
        explicit CommandsUpdate(MainWindowModel& model) : m_model(model) {}
        ~CommandsUpdate() { m_model.updateCommands(); }
        CommandsUpdate(const CommandsUpdate&) = delete;
        CommandsUpdate& operator=(const CommandsUpdate&) = delete;

    private:
        MainWindowModel& m_model;
    };
    void setUndoAvailable(bool available);
    void run(Command command);
    bool runOnFilter(Command command);
    void runSortCommand(Command command);
    void runReversedOrder();
    void runBarToggle(Command command);
    void openHelp();
    void treeReplaced(bool hadNodes);
    void folderNodesRemoved();
    void folderNodesAdded();
    void showFolderDescription();
    void showRowDescription();
    void setDescription(std::string description);
    void showDescriptionLabel(); // "Description:" alone
    void updateStatusBar();
    void updateColumnCaptions();
    void setRowSelection(const std::vector<std::size_t>& rows, std::size_t focusedRow);
    void savePreferencesAndThen(const std::function<void()>& next);
    void reloadTreeKeepingStates(std::size_t selectAfter);
    void removeRows(const std::vector<std::size_t>& rows); // in ascending order, with their notices
    void insertRow(std::size_t row, const UndoLinkEntry& entry); // the caller tells the view
    void requestDialog(DialogKind kind);
    void requestFocus(Pane pane);
    void runDelete();

    Library m_library;
    Preferences m_preferences;
    UIText m_texts;
    const Clock& m_clock;
    UrlOpener& m_opener;
    MainWindowObserver* m_observer = nullptr;

    CommandStates m_shownCommandStates; // as the view was last told
    CommandTexts m_captions{m_texts};

    WindowFlags m_flags;
    ExchangeMemory m_exchangeMemory;
    bool m_undoAvailable = false;
    mutable int m_modalWindows = 0;
    bool m_lookOnly = false;

    RowSelection m_selection;
    FolderTreeEvents m_tree{*this};
    LinkListEvents m_list{*this};
    DescriptionPane m_description;
    StatusPanels m_statusPanels;
    LinkClipboard m_clipboard{*this};
    UndoDeleting m_deleting{*this};
    Reordering m_reordering{*this};
    ItemEditing m_editing{*this};
    LibrarySearch m_search{*this};
    WindowLifecycle m_lifecycle{*this};
    LinkFiltering m_filter{*this};
};

} // namespace velloria
