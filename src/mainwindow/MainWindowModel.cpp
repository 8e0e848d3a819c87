// The window model: its parts, the commands' states, the rows selected, the focus, the
// description pane and the status bar.

#include "mainwindow/MainWindowModel.h"

#include "base/Error.h"

#include <algorithm>

namespace velloria {

MainWindowModel::MainWindowModel(std::filesystem::path home, const Clock& clock, UrlOpener& opener,
                                 std::filesystem::path userHome)
    : m_library(home, clock), m_preferences(home, std::move(userHome)), m_clock(clock), m_opener(opener)
{
    m_preferences.setMainWindow(this);
    applyTexts();
    showDescriptionLabel();
    m_shownCommandStates = commandStates();
}

MainWindowModel::~MainWindowModel() = default;

CommandInputs MainWindowModel::commandInputs() const
{
    const TPreferences& p = prefs();
    return {.focus = m_selection.focus(),
            .treeEmpty = folderTree().empty(),
            .folderSelected = selectedFolder() != npos,
            .filtering = m_filter.active(),
            .listEmpty = m_filter.active() ? m_filter.rowCount() == 0 : linkList().empty(),
            .rowSelected = m_filter.active() ? !m_filter.selectedRows().empty() : m_selection.anySelected(),
            .clipboardFilled = m_flags.ClipboardFilled,
            .undoAvailable = m_undoAvailable,
            .libraryModified = m_lifecycle.libraryModified(),
            .sortMode = p.SortMode,
            .reversedOrder = p.ReversedOrder,
            .toolbarShown = p.ShowToolbar,
            .statusBarShown = p.ShowStatusBar};
}

void MainWindowModel::updateCommands()
{
    const CommandStates states = commandStates();
    if (states == m_shownCommandStates)
        return;
    m_shownCommandStates = states;
    notify([](MainWindowObserver& o) { o.commandsChanged(); });
}

void MainWindowModel::setUndoAvailable(bool available)
{
    m_undoAvailable = available;
    updateCommands();
}

// --- The folder tree ---------------------------------------------------------------------------

void MainWindowModel::dialogClosed()
{
    updateCommands();
}

void MainWindowModel::treeReplaced(bool hadNodes)
{
    if (hadNodes)
        folderNodesRemoved();
    if (!folderTree().empty())
        folderNodesAdded();
    m_filter.libraryChanged();
}

void MainWindowModel::folderNodesRemoved()
{
    m_statusPanels[0].clear();
    m_statusPanels[1].clear();
    m_statusPanels[2] = m_texts[text::Folders] + ' ';
    m_statusPanels[3] = m_texts[text::Bookmarks] + ' ';
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
    updateCommands();
}

void MainWindowModel::folderNodesAdded()
{
    updateCommands();
}

// --- The link list -----------------------------------------------------------------------------

void MainWindowModel::setRowSelection(const std::vector<std::size_t>& rows, std::size_t focusedRow)
{
    m_selection.select(rows, focusedRow, linkList().size());
    notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
    updateCommands();
    if (linkList().empty() || m_selection.selectedRow() == npos)
        return;
    if (m_selection.focus() == Pane::List)
        showRowDescription();
    m_statusPanels[1] = linkList()[m_selection.selectedRow()].Title;
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

// The pane takes the focus in the window; the model knows at once where the focus is, also
// without a window.
void MainWindowModel::requestFocus(Pane pane)
{
    m_selection.setFocus(pane);
    notify([pane](MainWindowObserver& o) { o.focusRequested(pane); });
    updateCommands();
}

Pane MainWindowModel::memDescrEnter()
{
    const Pane target = m_flags.TreeHadFocus ? Pane::Tree : Pane::List;
    requestFocus(target);
    return target;
}

// --- Description pane and status bar -----------------------------------------------------------

void MainWindowModel::setDescription(std::string description)
{
    if (!m_description.show(m_texts[text::Description] + ' ' + description))
        return;
    notify([](MainWindowObserver& o) { o.descriptionChanged(); });
}

void MainWindowModel::showDescriptionLabel()
{
    m_description.showPlain(m_texts[text::Description]);
    notify([](MainWindowObserver& o) { o.descriptionChanged(); });
}

void MainWindowModel::showFolderDescription()
{
    setDescription(selectedFolder() == npos ? std::string() : m_library.folderDescription());
}

void MainWindowModel::showRowDescription()
{
    const std::size_t row = m_selection.selectedRow();
    if (row == npos)
        return;
    const auto& descriptions = m_library.linkDescriptions();
    setDescription(row < descriptions.size() ? descriptions[row] : std::string());
}

void MainWindowModel::updateStatusBar()
{
    const std::size_t folder = selectedFolder();
    const std::size_t row = m_selection.selectedRow();
    m_statusPanels[0] = folder == npos ? "" : folderTree()[folder].Name;
    m_statusPanels[1] = row == npos ? "" : linkList()[row].Title;
    m_statusPanels[2] = m_texts[text::Folders] + ' ' + (folder == npos ? "" : std::to_string(folderTree().childCount(folder)));
    m_statusPanels[3] = m_texts[text::Bookmarks] + ' ' + (folder == npos ? "" : std::to_string(linkList().size()));
    if (m_filter.active()) {
        const std::size_t focused = m_filter.focusedRow();
        m_statusPanels[1] = focused == npos ? "" : std::string(m_filter.link(focused).link.Title);
        m_statusPanels[3] = m_texts[text::FilterMatches] + ' ' + std::to_string(m_filter.rowCount());
    }
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

void MainWindowModel::MainStatusBarResize(int width)
{
    m_statusPanels.fitTo(width);
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

void MainWindowModel::updateColumnCaptions()
{
    m_captions.takeColumnCaptions(prefs().SortMode, prefs().ReversedOrder);
}

} // namespace velloria
