// Start-up, the texts of the language loaded, saving, auto-save, closing, and what the
// preferences take from the window.

#include "mainwindow/MainWindowModel.h"
#include "mainwindow/WindowLifecycle.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/Steps.h"
#include "mainwindow/PreferencesDialog.h"
#include "platform/UrlOpener.h"
#include "settings/TextBindings.h"

#include <algorithm>

namespace velloria {

namespace {

using C = Command;

} // namespace

void WindowLifecycle::FormCreate()
{
    const MainWindowModel::CommandsUpdate update(m_model);
    Steps steps;
    m_model.m_flags.SearchFocusPending = false;
    steps.run([this] { m_model.m_preferences.LoadPreferences(); });
    LoadLanguage(m_model.m_texts, m_model.m_preferences.record());
    m_model.applyTexts();
    m_model.showDescriptionLabel(); // until a folder is shown, in the language just loaded
    // The bars and the sort menu, which follow the preferences, are set before the window
    // applies the layout, so that it lays out the bars it will show.
    m_model.updateCommands();
    m_model.notify([](MainWindowObserver& o) { o.layoutPreferencesChanged(); });
    steps.run([this] {
        loadLibrary(m_model.prefs().RestoreFolderStates ? RestoreFolderStates::Yes : RestoreFolderStates::No);
    });
    m_model.m_flags.FolderShownOnce = false;
    m_libraryModified = false;
    m_model.m_flags.ClipboardFilled = false;
    m_model.m_undoAvailable = false;
    m_model.updateCommands();
    // The window creates the notification-area icon after the start.
    m_model.m_flags.TrayIconCreated = false;
    m_newFolders.clear();
    startAutoSaveTimer();
    steps.run([this] { m_model.m_list.openLastLink(); });
    steps.finish();
}

void WindowLifecycle::loadLibrary(RestoreFolderStates restore)
{
    const MainWindowModel::CommandsUpdate update(m_model);
    const bool hadNodes = !m_model.folderTree().empty();
    Steps steps;
    m_model.notify([](MainWindowObserver& o) { o.folderTreeAboutToBeReset(); });
    steps.run([&] { m_model.m_library.OpenLibrary(restore); });
    m_model.notify([](MainWindowObserver& o) { o.folderTreeReset(); });
    m_model.treeReplaced(hadNodes);
    if (m_model.m_tree.selectedFolder() != MainWindowModel::npos)
        steps.run([this] { m_model.m_tree.selectFolder(m_model.m_tree.selectedFolder()); });
    steps.finish();
}

void WindowLifecycle::startAutoSaveTimer()
{
    // A hand-edited interval is brought into the range the Preferences dialog offers, so that
    // it never makes a timer without pause or a product that overflows.
    if (m_model.prefs().AutoSave)
        m_autoSaveInterval =
            std::clamp(m_model.prefs().SaveInterval, kMinimumSaveInterval, kMaximumSaveInterval) * 60000;
    else
        m_autoSaveInterval.reset();
    m_model.notify([](MainWindowObserver& o) { o.autoSaveTimerChanged(); });
}

std::string CommandTexts::menuCaption(std::string_view menuName) const
{
    for (const TextBinding& binding : textBindings(TextWindow::MainMenuBar))
        if (binding.target == menuName)
            return m_texts[binding.text];
    return "";
}

void CommandTexts::takeCommandTexts()
{
    for (const CommandInfo& info : commandTable())
        m_captions[indexOf(info.command)] = info.caption;
    for (const TextBinding& binding : textBindings(TextWindow::MainCommand))
        if (const auto command = commandNamed(binding.target))
            m_captions[indexOf(*command)] = m_texts[binding.text];
    for (const TextBinding& binding : textBindings(TextWindow::MainCommandHint))
        if (const auto command = commandNamed(binding.target))
            m_hints[indexOf(*command)] = m_texts[binding.text];
}

void MainWindowModel::applyTexts()
{
    m_captions.takeCommandTexts();
    updateColumnCaptions();
    notify([](MainWindowObserver& o) { o.captionsChanged(); });
}

void CommandTexts::takeColumnCaptions(int sortMode, bool reversedOrder)
{
    constexpr std::array<int, 4> columnTexts = {text::ColumnTitle, text::ColumnAddress, text::ColumnLastVisit,
                                                text::ColumnAddDate};
    for (std::size_t column = 0; column < columnTexts.size(); ++column) {
        m_columnCaptions[column] = m_texts[columnTexts[column]];
        if (static_cast<int>(column) == sortMode)
            m_columnCaptions[column] += reversedOrder ? " -" : " +";
    }
}

void MainWindowModel::preferencesApplied()
{
    const CommandsUpdate update(*this);
    m_preferences.LoadPreferences();
    // The chosen language is laid over the built-in texts, not over the language used until now.
    m_texts = UIText();
    LoadLanguage(m_texts, m_preferences.record());
    applyTexts();
    notify([](MainWindowObserver& o) { o.coloursChanged(); });
    m_lifecycle.startAutoSaveTimer();
    requestFocus(Pane::Tree);
    if (!folderTree().empty()) {
        showFolderDescription();
        updateStatusBar();
    }
}

Answer MainWindowModel::ask(const std::string& question) const
{
    const ModalWindow open(*this);
    return m_observer ? m_observer->ask(question) : Answer::Cancel;
}

void MainWindowModel::message(const std::string& text) const
{
    const ModalWindow open(*this);
    notify([&](MainWindowObserver& o) { o.message(text); });
}

void WindowLifecycle::MainTimerTimer()
{
    m_model.execute(C::FileSave);
}

bool WindowLifecycle::FormClose()
{
    if (m_libraryModified) {
        switch (m_model.ask(m_model.m_texts[text::SaveChanges])) {
        case Answer::Cancel:
            m_model.m_library.SaveFolderStates();
            return false;
        case Answer::Yes:
            // A failed save keeps the window open, so that nothing unsaved is lost.
            saveLibrary();
            break;
        case Answer::No:
            m_model.m_flags.ClosingInProgress = true;
            revertLibrary();
            break;
        }
    }
    discardFolderSnapshot(m_model.m_library, m_model.m_deleting.m_undo, KeepSnapshot::No);
    m_model.m_library.SaveFolderStates();
    return true;
}

void WindowLifecycle::FormDestroy()
{
    m_model.m_preferences.SavePreferences();
}

void WindowLifecycle::libraryChanged()
{
    m_libraryModified = true;
    m_model.m_filter.libraryChanged();
    m_model.updateCommands();
}


void WindowLifecycle::saveLibrary()
{
    m_model.m_library.SaveLibrary();
    discardFolderSnapshot(m_model.m_library, m_model.m_deleting.m_undo, KeepSnapshot::Empty);
    m_libraryModified = false;
    m_model.updateCommands();
}

void WindowLifecycle::revertLibrary()
{
    m_model.m_library.RevertLibrary(m_newFolders);
}

MainWindowLayout MainWindowModel::preferenceLayout() const
{
    MainWindowLayout layout;
    const CommandStates states = commandStates();
    const auto checked = [&](Command command) { return states.isChecked(command); };
    const auto geometry = m_observer ? m_observer->windowGeometry() : std::nullopt;
    layout.geometry = geometry ? *geometry : storedWindowGeometry(prefs());
    layout.toolbarChecked = checked(C::ViewToolbar);
    layout.statusBarChecked = checked(C::ViewStatusBar);
    for (std::size_t mode = 0; mode < kSortCommands.size(); ++mode)
        layout.sortChecked[mode] = checked(kSortCommands[mode]);
    layout.reversedChecked = checked(C::ViewReversedOrder);
    return layout;
}

// Writes the preferences, then runs the next step even when the file could not be written; the
// error is reported after it.
void MainWindowModel::savePreferencesAndThen(const std::function<void()>& next)
{
    Steps steps;
    steps.run([this] { m_preferences.SavePreferences(); });
    steps.run(next);
    steps.finish();
}

} // namespace velloria
