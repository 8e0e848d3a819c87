// The command switch: the gate every command of the window passes, and what each command runs.

#include "mainwindow/MainWindowModel.h"

#include "mainwindow/DeleteConfirmation.h"
#include "platform/UrlOpener.h"
#include "settings/HomeSetup.h"

#include <algorithm>

namespace velloria {

namespace {

using C = Command;

} // namespace

bool MainWindowModel::execute(Command command)
{
    if (dialogActive() || !commandStates().isEnabled(command))
        return false;
    const CommandsUpdate update(*this);
    run(command);
    return true;
}

void MainWindowModel::run(Command command)
{
    if (m_filter.active() && m_selection.focus() != Pane::Tree && runOnFilter(command))
        return;
    switch (command) {
    case C::FileSave: m_lifecycle.saveLibrary(); break;
    case C::ViewToolbar:
    case C::ViewStatusBar: runBarToggle(command); break;
    case C::ViewExpandAllFolders: m_tree.expandAllFolders(); break;
    case C::ViewCollapseAllFolders: m_tree.collapseAllFolders(); break;
    case C::ViewSortByTitle:
    case C::ViewSortByAddress:
    case C::ViewSortByLastVisit:
    case C::ViewSortByAddDate:
    case C::ViewUnsorted: runSortCommand(command); break;
    case C::ViewReversedOrder: runReversedOrder(); break;
    case C::ToolsGo: m_list.goTo(false); break;
    case C::ToolsGoInNewBrowser: m_list.goTo(true); break;
    case C::HelpNavigatorHelp: openHelp(); break;
    case C::HelpHomePage: m_opener.openInNewWindow(std::string(kHomePageAddress)); break;
    case C::HelpSupport: m_opener.open("mailto:" + std::string(kSupportAddress)); break;
    case C::HelpAbout: notify([](MainWindowObserver& o) { o.aboutBoxRequested(); }); break;
    case C::EditAddFolder:
    case C::EditAddUrl:
        m_flags.NewItem = command == C::EditAddUrl ? NewItemKind::Link : NewItemKind::Folder;
        requestDialog(DialogKind::NewItem);
        break;
    case C::EditEditItem:
        if (m_selection.focus() != Pane::None)
            m_flags.NewItem = m_selection.focus() == Pane::Tree ? NewItemKind::Folder : NewItemKind::Link;
        requestDialog(DialogKind::EditItem);
        break;
    case C::EditDelete: runDelete(); break;
    case C::EditUndo: m_deleting.RestoreUndoState(); break;
    case C::EditCut: m_clipboard.EditCutExecute(); break;
    case C::EditCopy: m_clipboard.EditCopyExecute(); break;
    case C::EditPaste: m_clipboard.EditPasteExecute(); break;
    case C::EditMoveUp: m_reordering.EditMoveUpExecute(); break;
    case C::EditMoveDown: m_reordering.EditMoveDownExecute(); break;
    case C::EditFind: requestDialog(DialogKind::Find); break;
    case C::EditSearchAgain: m_search.SearchAgain(); break;
    case C::ToolsStatistics: requestDialog(DialogKind::Statistics); break;
    case C::ToolsFindDuplicates: requestDialog(DialogKind::Duplicates); break;
    case C::ToolsCheckLinks: requestDialog(DialogKind::CheckLinks); break;
    case C::FileImport: requestDialog(DialogKind::Import); break;
    case C::FileExport: requestDialog(DialogKind::Export); break;
    case C::FileGenHtml: requestDialog(DialogKind::GenHtml); break;
    case C::ToolsPreferences: requestDialog(DialogKind::Preferences); break;
    default: break; // the commands whose dialogs the form runs itself
    }
}

// The commands that act on the filter's rows while the list shows them; false for the others.
bool MainWindowModel::runOnFilter(Command command)
{
    switch (command) {
    case C::ToolsGo: m_filter.open(false); return true;
    case C::ToolsGoInNewBrowser: m_filter.open(true); return true;
    case C::EditCut: m_filter.cut(); return true;
    case C::EditCopy: m_filter.copy(); return true;
    case C::EditEditItem:
        m_flags.NewItem = NewItemKind::Link;
        requestDialog(DialogKind::EditItem);
        return true;
    default: return false; // Delete asks first as it does for the folder's rows
    }
}

void MainWindowModel::requestDialog(DialogKind kind)
{
    notify([kind](MainWindowObserver& o) { o.dialogRequested(kind); });
}

void MainWindowModel::runDelete()
{
    if (prefs().ConfirmDeleting) {
        requestDialog(DialogKind::DeleteConfirmation);
        return;
    }
    DeleteConfirmation(*this).yes();
}

void MainWindowModel::runBarToggle(Command command)
{
    TPreferences& record = m_preferences.record();
    bool& shown = command == C::ViewToolbar ? record.ShowToolbar : record.ShowStatusBar;
    shown = !shown; // the bar follows its command's check mark
    updateCommands();
    m_preferences.SavePreferences();
}

void MainWindowModel::runSortCommand(Command command)
{
    const auto mode = std::find(kSortCommands.begin(), kSortCommands.end(), command) - kSortCommands.begin();
    m_preferences.record().SortMode = static_cast<std::int32_t>(mode);
    updateCommands();
    savePreferencesAndThen([this] {
        m_list.SortLinkList();
        m_filter.sortModeChanged();
    });
}

void MainWindowModel::runReversedOrder()
{
    m_preferences.record().ReversedOrder = !prefs().ReversedOrder;
    updateCommands();
    savePreferencesAndThen([this] {
        m_list.SortLinkList();
        m_filter.sortModeChanged();
    });
}

// The page is written first, so that the browser never shows a missing page or one of another
// version; a page that cannot be written is an error and nothing opens.
void MainWindowModel::openHelp()
{
    writeHelpPage(m_library.paths().home());
    m_opener.open("file://" + helpPagePath(m_library.paths().home()).string());
}

} // namespace velloria
