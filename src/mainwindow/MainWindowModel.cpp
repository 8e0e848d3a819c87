// The two panes: the folder change, focus and selection events, the description pane, the
// status bar and the sorted link list.

#include "mainwindow/MainWindowModel.h"

#include "base/Error.h"
#include "tools/Sort.h"

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
            .listEmpty = linkList().empty(),
            .rowSelected = m_selection.anySelected(),
            .clipboardFilled = m_flags.ClipboardFilled,
            .undoAvailable = m_undoAvailable,
            .libraryModified = m_libraryModified,
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

void MainWindowModel::selectFolder(std::size_t index)
{
    const CommandsUpdate update(*this);
    m_library.folderTree().select(index);
    // A selected folder is made visible, as a tree control does: its ancestors are expanded.
    for (std::size_t parent = index == npos ? npos : folderTree().parentOf(index); parent != npos;
         parent = folderTree().parentOf(parent))
        m_library.folderTree().setExpanded(parent, true);
    notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    m_flags.FolderShownOnce = true;
    if (folderTree().empty() || m_flags.ClosingInProgress || index == npos)
        return;
    std::optional<Error> loadError;
    notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
    try {
        m_library.ShowFolderDescription(folderTree()[index].Name);
        m_library.LoadLinkFile(folderTree()[index].Name);
    } catch (const Error& error) {
        loadError = error;
    }
    m_selection.select({}, npos, linkList().size());
    notify([](MainWindowObserver& o) { o.linkListReset(); });
    showFolderDescription();
    try {
        SortLinkList();
    } catch (const Error& error) {
        loadError = loadError.value_or(error);
    }
    if (!linkList().empty())
        setRowSelection({0}, 0);
    updateStatusBar();
    if (loadError)
        throw *loadError;
}

void MainWindowModel::trvFoldersEnter()
{
    const CommandsUpdate update(*this);
    m_selection.setFocus(Pane::Tree);
    // A tree control that takes the focus with no folder selected selects its first folder.
    if (!folderTree().empty() && selectedFolder() == npos)
        selectFolder(0);
    m_flags.TreeHadFocus = true;
    // Until a folder change, the window shows what the start showed.
    if (!m_flags.FolderShownOnce || folderTree().empty())
        return;
    showFolderDescription();
    if (!linkList().empty() && m_selection.selectedRow() == npos)
        setRowSelection({0}, 0);
}

void MainWindowModel::dialogClosed()
{
    updateCommands();
}

void MainWindowModel::trvFoldersExit()
{
    if (m_selection.focus() == Pane::Tree)
        m_selection.setFocus(Pane::None);
    updateCommands();
}

void MainWindowModel::trvFoldersMouseDown(std::size_t indexUnderPointer)
{
    if (!folderTree().empty() && indexUnderPointer < folderTree().count() && indexUnderPointer != selectedFolder())
        selectFolder(indexUnderPointer);
}

void MainWindowModel::trvFoldersClick()
{
    if (folderTree().empty() || selectedFolder() == npos)
        return;
    m_library.ShowFolderDescription(folderTree()[selectedFolder()].Name);
    showFolderDescription();
}

void MainWindowModel::setFolderExpanded(std::size_t index, bool expanded)
{
    m_library.folderTree().setExpanded(index, expanded);
    notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
}

void MainWindowModel::treeReplaced(bool hadNodes)
{
    if (hadNodes)
        folderNodesRemoved();
    if (!folderTree().empty())
        folderNodesAdded();
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

bool RowSelection::anySelected() const
{
    return std::find(m_selected.begin(), m_selected.end(), 1) != m_selected.end();
}

std::vector<std::size_t> RowSelection::selectedRows() const
{
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < m_selected.size(); ++row)
        if (m_selected[row])
            rows.push_back(row);
    return rows;
}

std::size_t RowSelection::selectedRow() const
{
    if (isRowSelected(m_focusedRow))
        return m_focusedRow;
    const auto it = std::find(m_selected.begin(), m_selected.end(), 1);
    return it == m_selected.end() ? npos : static_cast<std::size_t>(it - m_selected.begin());
}

void RowSelection::select(const std::vector<std::size_t>& rows, std::size_t focusedRow, std::size_t rowCount)
{
    m_selected.assign(rowCount, 0);
    for (std::size_t row : rows)
        if (row < rowCount)
            m_selected[row] = 1;
    m_focusedRow = focusedRow < rowCount ? focusedRow : npos;
}

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

void MainWindowModel::selectRows(const std::vector<std::size_t>& rows, std::size_t focusedRow)
{
    setRowSelection(rows, focusedRow);
}

void MainWindowModel::lvReferencesEnter()
{
    const CommandsUpdate update(*this);
    m_selection.setFocus(Pane::List);
    m_flags.TreeHadFocus = false;
    if (m_flags.SearchFocusPending) {
        m_flags.SearchFocusPending = false;
        return;
    }
    if (linkList().empty()) {
        requestFocus(Pane::Tree);
        return;
    }
    if (m_selection.selectedRow() == npos)
        setRowSelection({0}, 0);
    showRowDescription();
}

void MainWindowModel::lvReferencesClick()
{
    if (linkList().empty())
        return;
    const std::size_t row = m_selection.selectedRow() == npos ? linkList().size() - 1 : m_selection.selectedRow();
    auto rows = m_selection.selectedRows();
    if (rows.empty())
        rows.push_back(row);
    setRowSelection(rows, row);
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
    const auto& descriptions = linkDescriptions();
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
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

void MainWindowModel::MainStatusBarResize(int width)
{
    m_statusPanels.fitTo(width);
    notify([](MainWindowObserver& o) { o.statusBarChanged(); });
}

// --- Sorting -----------------------------------------------------------------------------------

void MainWindowModel::updateColumnCaptions()
{
    m_captions.takeColumnCaptions(prefs().SortMode, prefs().ReversedOrder);
}

void MainWindowModel::SortLinkList()
{
    const int mode = prefs().SortMode;
    if (folderTree().empty() || mode < 0 || mode > 4)
        return;
    const std::optional<std::vector<std::size_t>> sorted =
        selectedFolder() == npos ? std::nullopt : shownOrder(linkList(), mode, prefs().ReversedOrder);
    if (!sorted) {
        updateColumnCaptions();
        notify([](MainWindowObserver& o) { o.captionsChanged(); });
        return;
    }
    // The rows selected before the sort are the rows selected after it, wherever they go.
    const std::vector<std::size_t> wereSelected = m_selection.selectedRows();
    const std::size_t firstSelected = wereSelected.empty() ? npos : wereSelected.front();
    // After an edit only a row or a few are out of place: the view hears of each as it moves.
    // A new order of the whole list (another sort, or reversed) resets it instead.
    constexpr std::size_t kMostSortMoves = 32;
    TLinkList& links = m_library.linkList();
    std::vector<std::string>& descriptions = m_library.linkDescriptions();
    descriptions.resize(links.size());
    const std::vector<std::size_t>& order = *sorted;
    if (const auto moves = rowMovesTo(order, kMostSortMoves)) {
        for (const RowMove& move : *moves) {
            notify([move](MainWindowObserver& o) { o.linkRowsAboutToBeMoved(move.from, move.from, move.destination); });
            applyMove(links, move);
            applyMove(descriptions, move);
            if (m_selection.marks().size() == links.size())
                applyMove(m_selection.marks(), move);
            notify([](MainWindowObserver& o) { o.linkRowsMoved(); });
        }
    } else {
        notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
        applyOrder(links, order);
        applyOrder(descriptions, order);
        notify([](MainWindowObserver& o) { o.linkListReset(); });
    }
    std::vector<std::size_t> placeOf(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        placeOf[order[place]] = place;
    std::vector<std::size_t> nowSelected;
    for (std::size_t row : wereSelected)
        nowSelected.push_back(placeOf[row]);
    setRowSelection(nowSelected, firstSelected == npos ? npos : placeOf[firstSelected]);
    updateColumnCaptions();
    notify([](MainWindowObserver& o) { o.captionsChanged(); });
    // A list read only up to a damaged line is put in order on screen but not written back,
    // which would cut the rest off the file; an edit writes it (keeping the damaged file).
    if (!m_lookOnly && !m_library.linkListReadInPart())
        m_library.SaveLinkFile(folderTree()[selectedFolder()].Name, kWorkingLinkExt);
}

} // namespace velloria
