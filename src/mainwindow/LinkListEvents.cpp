// The link list's events, the sorted list, and opening links in the browser.

#include "mainwindow/LinkListEvents.h"

#include "base/Clock.h"
#include "base/Steps.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "tools/Sort.h"

#include <algorithm>

namespace velloria {

namespace {
constexpr std::size_t npos = MainWindowModel::npos;
}

void LinkListEvents::selectRows(const std::vector<std::size_t>& rows, std::size_t focusedRow)
{
    m_model.setRowSelection(rows, focusedRow);
}

void LinkListEvents::lvReferencesEnter()
{
    MainWindowModel& m = m_model;
    const MainWindowModel::CommandsUpdate update(m);
    m.m_selection.setFocus(Pane::List);
    m.m_flags.TreeHadFocus = false;
    if (m.m_flags.SearchFocusPending) {
        m.m_flags.SearchFocusPending = false;
        return;
    }
    if (m.m_filter.active()) {
        m.m_filter.entered();
        return;
    }
    if (m.linkList().empty()) {
        m.requestFocus(Pane::Tree);
        return;
    }
    if (m.m_selection.selectedRow() == npos)
        m.setRowSelection({0}, 0);
    m.showRowDescription();
}

void LinkListEvents::lvReferencesClick()
{
    const RowSelection& selection = m_model.m_selection;
    const std::size_t count = m_model.linkList().size();
    if (count == 0)
        return;
    const std::size_t row = selection.selectedRow() == npos ? count - 1 : selection.selectedRow();
    auto rows = selection.selectedRows();
    if (rows.empty())
        rows.push_back(row);
    m_model.setRowSelection(rows, row);
}

void LinkListEvents::lvReferencesDblClick()
{
    if (m_model.m_filter.active())
        m_model.m_filter.open(true);
    else
        goTo(true);
}

void LinkListEvents::lvReferencesColumnClick(int column)
{
    if (column < 0 || column > 3 || m_model.dialogActive())
        return;
    const MainWindowModel::CommandsUpdate update(m_model);
    Steps steps;
    steps.run([&] { m_model.runSortCommand(kSortCommands[static_cast<std::size_t>(column)]); });
    steps.run([this] { m_model.runReversedOrder(); });
    steps.finish();
}

void LinkListEvents::SortLinkList()
{
    MainWindowModel& m = m_model;
    const TPreferences& prefs = m.prefs();
    const int mode = prefs.SortMode;
    if (m.folderTree().empty() || mode < 0 || mode > 4)
        return;
    const std::size_t folder = m.folderTree().selectedIndex();
    const std::optional<std::vector<std::size_t>> sorted =
        folder == npos ? std::nullopt : shownOrder(m.linkList(), mode, prefs.ReversedOrder);
    if (!sorted) {
        m.updateColumnCaptions();
        m.notify([](MainWindowObserver& o) { o.captionsChanged(); });
        return;
    }
    // The rows selected before the sort are the rows selected after it, wherever they go.
    const std::vector<std::size_t> wereSelected = m.m_selection.selectedRows();
    const std::size_t firstSelected = wereSelected.empty() ? npos : wereSelected.front();
    // After an edit only a row or a few are out of place: the view hears of each as it moves.
    // A new order of the whole list (another sort, or reversed) resets it instead.
    constexpr std::size_t kMostSortMoves = 32;
    TLinkList& links = m.m_library.linkList();
    std::vector<std::string>& descriptions = m.m_library.linkDescriptions();
    descriptions.resize(links.size());
    const std::vector<std::size_t>& order = *sorted;
    if (const auto moves = rowMovesTo(order, kMostSortMoves)) {
        for (const RowMove& move : *moves) {
            m.notify([move](MainWindowObserver& o) { o.linkRowsAboutToBeMoved(move.from, move.from, move.destination); });
            applyMove(links, move);
            applyMove(descriptions, move);
            if (m.m_selection.marks().size() == links.size())
                applyMove(m.m_selection.marks(), move);
            m.notify([](MainWindowObserver& o) { o.linkRowsMoved(); });
        }
    } else {
        m.notify([](MainWindowObserver& o) { o.linkListAboutToBeReset(); });
        applyOrder(links, order);
        applyOrder(descriptions, order);
        m.notify([](MainWindowObserver& o) { o.linkListReset(); });
    }
    std::vector<std::size_t> placeOf(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        placeOf[order[place]] = place;
    std::vector<std::size_t> nowSelected;
    for (std::size_t row : wereSelected)
        nowSelected.push_back(placeOf[row]);
    m.setRowSelection(nowSelected, firstSelected == npos ? npos : placeOf[firstSelected]);
    m.updateColumnCaptions();
    m.notify([](MainWindowObserver& o) { o.captionsChanged(); });
    // A list read only up to a damaged line is put in order on screen but not written back,
    // which would cut the rest off the file; an edit writes it (keeping the damaged file).
    if (!m.m_lookOnly && !m.m_library.linkListReadInPart())
        m.m_library.SaveLinkFile(m.folderTree()[folder].Name, kWorkingLinkExt);
}

void LinkListEvents::showLink(std::size_t folder, const LinkRecordView& link, std::size_t row)
{
    MainWindowModel& m = m_model;
    if (folder >= m.folderTree().count())
        return;
    if (folder != m.selectedFolder() || !m.tree().listShows(folder))
        m.selectFolder(folder);
    const TLinkList& links = m.linkList();
    if (row >= links.size() || !(link == links[row]))
        row = static_cast<std::size_t>(
            std::find_if(links.begin(), links.end(), [&](const TLinkRecord& shown) { return link == shown; }) - links.begin());
    if (row >= links.size())
        return;
    m.setRowSelection({row}, row);
    m.requestFocus(Pane::List);
}

void LinkListEvents::openAddress(std::string_view address)
{
    m_model.m_opener.open(browserAddress(std::string(address)));
}

void LinkListEvents::goTo(bool newWindow)
{
    if (m_model.linkList().empty() || m_model.m_selection.selectedRow() == npos)
        return;
    if (newWindow)
        m_model.m_opener.openInNewWindow("about:blank");
    OpenSelectedLink();
}

void LinkListEvents::OpenSelectedLink()
{
    MainWindowModel& m = m_model;
    const std::size_t row = m.m_selection.selectedRow();
    const std::size_t folder = m.folderTree().selectedIndex();
    if (row == npos || folder == npos)
        return;
    TPreferences& record = m.m_preferences.record();
    record.LastLinkTitle = m.linkList()[row].Title;
    record.LastFolderName = m.folderTree()[folder].Name;
    // The visit is recorded whether or not the preferences could be written.
    m.savePreferencesAndThen([this, &m, row, folder] {
        m.m_opener.open(browserAddress(m.linkList()[row].Address));
        m.m_library.linkList()[row].LastVisit = formatDate(m.m_clock.today());
        // Written whole through a temporary file: the old file stays until the new one is complete.
        m.m_library.SaveLinkFile(m.folderTree()[folder].Name, kWorkingLinkExt);
        m.notify([row](MainWindowObserver& o) { o.linkRowsChanged(row, row); });
        m.notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
        SortLinkList();
    });
}

void LinkListEvents::openLastLink()
{
    MainWindowModel& m = m_model;
    const TPreferences& prefs = m.prefs();
    if (!prefs.OpenLastURL || m.folderTree().empty())
        return;
    const std::string folderName = prefs.LastFolderName;
    const std::string linkTitle = prefs.LastLinkTitle;
    for (std::size_t folder = 0; folder < m.folderTree().count(); ++folder) {
        if (m.folderTree()[folder].Name != folderName)
            continue;
        m.m_tree.selectFolder(folder);
        for (std::size_t row = 0; row < m.linkList().size(); ++row) {
            if (m.linkList()[row].Title != linkTitle)
                continue;
            m.setRowSelection({row}, row);
            m.m_opener.openInNewWindow("about:blank");
            OpenSelectedLink();
        }
    }
}

} // namespace velloria
