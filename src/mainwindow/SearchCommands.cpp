// Find and Find Again. The search reads the stored links of each folder in the order the list
// would show them, without showing every folder and without writing any link file; only the
// folder and row of a match are shown. The order of fields and folders, the match shown and
// the final selection are those of a search that shows every folder on its way.

#include "mainwindow/MainWindowModel.h"

#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "tools/Search.h"
#include "tools/Sort.h"

namespace velloria {

namespace {

using Place = SearchPlace;

constexpr std::size_t npos = TFolderTree::npos;

int labelText(Place place)
{
    return place == Place::FolderName || place == Place::Title ? text::LabelTitle
         : place == Place::Address                            ? text::LabelAddress
                                                               : text::Description;
}

// The places of a row: Title, Address and LinkDescription.
bool onRow(Place place)
{
    return place >= Place::Title;
}

} // namespace

// Where the walk stands: a folder, a field of it or of one of its rows, a 1-based position.
struct LibrarySearch::SearchCursor {
    std::size_t folder = 0;
    Place place = Place::FolderName;
    std::size_t row = 0;
    std::size_t position = 1;
};

// The fields of the library in search order. The rows of the folder on show are the list's; the
// rows of any other folder are read from its file and ordered as the list would order them.
class LibrarySearch::SearchWalk {
public:
    SearchWalk(MainWindowModel& model, const SearchText& needle)
        : m_model(model), m_needle(needle), m_descriptions(model.library().folderDescriptions())
    {
    }

    std::size_t rowCount(std::size_t folder) { return rows(folder).links->size(); }

    std::string_view field(const SearchCursor& at)
    {
        const TFolderTree& tree = m_model.folderTree();
        if (at.place == Place::FolderName)
            return tree[at.folder].Name;
        if (at.place == Place::FolderDescription) {
            const auto it = m_descriptions.find(tree[at.folder].Name);
            return it == m_descriptions.end() ? std::string_view() : std::string_view(it->second);
        }
        Rows& list = rows(at.folder);
        if (at.place == Place::Title)
            return (*list.links)[at.row].Title;
        if (at.place == Place::Address)
            return (*list.links)[at.row].Address;
        return at.row < list.descriptions->size() ? std::string_view((*list.descriptions)[at.row]) : std::string_view();
    }

private:
    struct Rows {
        std::size_t folder = TFolderTree::npos;
        TLinkList ownLinks;
        std::vector<std::string> ownDescriptions;
        const TLinkList* links = nullptr;
        const std::vector<std::string>* descriptions = nullptr;
    };

    Rows& rows(std::size_t folder)
    {
        if (m_rows.folder == folder)
            return m_rows;
        m_rows = Rows{.folder = folder};
        // The list has the rows of the folder it shows, moves not yet written included; a folder
        // selected but not shown (the command-line tool shows none) is read like any other.
        if (m_model.tree().listShows(folder)) {
            m_rows.links = &m_model.linkList();
            m_rows.descriptions = &m_model.m_library.linkDescriptions();
            return m_rows;
        }
        m_rows.links = &m_rows.ownLinks;
        m_rows.descriptions = &m_rows.ownDescriptions;
        // A folder whose rows hold no match is passed as if it had none: the walk goes on to
        // the next folder all the same, and nothing is read twice or put in order for nothing.
        const auto bytes = readFileIfExists(
            m_model.library().paths().linkFilePath(m_model.folderTree()[folder].Name, kWorkingLinkExt));
        if (!bytes || !m_needle.mayOccurIn(*bytes))
            return m_rows;
        LinkFileParse parse = parseLinkFile(*bytes);
        if (!anyRowMatches(parse))
            return m_rows;
        m_rows.ownLinks = std::move(parse.links);
        m_rows.ownDescriptions = std::move(parse.descriptions);
        applySortMode(m_rows.ownLinks, m_rows.ownDescriptions, m_model.prefs().SortMode, m_model.prefs().ReversedOrder);
        return m_rows;
    }

    bool anyRowMatches(const LinkFileParse& parse) const
    {
        for (std::size_t row = 0; row < parse.links.size(); ++row)
            if (m_needle.findIn(parse.links[row].Title) || m_needle.findIn(parse.links[row].Address)
                || (row < parse.descriptions.size() && m_needle.findIn(parse.descriptions[row])))
                return true;
        return false;
    }

    MainWindowModel& m_model;
    const SearchText& m_needle;
    const std::unordered_map<std::string, std::string>& m_descriptions;
    Rows m_rows;
};

bool LibrarySearch::Find(std::string_view typed)
{
    m_session.remember(typed);
    return SearchLibrary(typed);
}

bool LibrarySearch::SearchLibrary(std::string_view typed)
{
    if (trimmed(typed).empty() || m_model.folderTree().empty())
        return false;
    m_session.setText(typed);
    recordFolderStates();
    const auto match = walkSearch(SearchCursor{}, false);
    if (match) {
        showMatch(*match, match->place != Place::FolderName, match->place == Place::FolderName);
        return true;
    }
    m_model.message(m_model.m_texts[text::SearchTextNotFound]);
    restoreFolderStates();
    return false;
}

bool LibrarySearch::SearchAgain()
{
    if (m_session.text().empty() || m_model.folderTree().empty() || m_model.selectedFolder() == npos)
        return false;
    recordFolderStates();
    const auto start = searchAgainStart();
    const auto match = start ? walkSearch(*start, true) : std::nullopt;
    if (match) {
        // The walk gives the tree the focus when it goes on to the next folder.
        showMatch(*match, false, match->folder != start->folder);
        return true;
    }
    restoreFolderStates();
    m_model.requestFocus(Pane::Tree);
    return false;
}

// Where Find Again goes on: in the field of the last match when the window still shows it,
// otherwise from the start of what has the focus.
std::optional<LibrarySearch::SearchCursor> LibrarySearch::searchAgainStart()
{
    const std::size_t folder = m_model.selectedFolder();
    const std::optional<SearchMatch>& last = m_session.lastMatch();
    const std::optional<Place> place = last ? std::optional(last->place) : std::nullopt;
    const bool sameFolder = last && last->folder == folder;
    const std::size_t resumeAt = last ? last->position + last->length : 1;
    if (m_model.m_selection.focus() == Pane::Tree && sameFolder && place == Place::FolderName)
        return SearchCursor{folder, Place::FolderName, 0, resumeAt};
    if (place == Place::FolderDescription)
        return SearchCursor{folder, Place::FolderDescription, 0, resumeAt};
    if (m_model.m_selection.focus() == Pane::Tree)
        return SearchCursor{folder, Place::FolderName, 0, 1};
    const std::size_t current = m_model.m_selection.focusedRow();
    const bool rowMatched = place && onRow(*place);
    if (m_model.m_selection.focus() == Pane::List && !rowMatched)
        return current == npos ? std::nullopt : std::optional(SearchCursor{folder, Place::Title, current, 1});
    if (sameFolder && current == last->row)
        return rowMatched ? std::optional(SearchCursor{folder, *place, current, resumeAt}) : std::nullopt;
    return current == npos ? std::nullopt : std::optional(SearchCursor{folder, Place::Title, current, 1});
}

std::optional<SearchMatch> LibrarySearch::walkSearch(SearchCursor at, bool again)
{
    const SearchText needle(m_session.text());
    SearchWalk walk(m_model, needle);
    TFolderTree& tree = m_model.m_library.folderTree();
    // The folders the walk passes are shown on its way, which opens their parents; Find Again
    // also folds up the branches it has finished.
    const auto pass = [&](std::size_t folder) {
        for (std::size_t parent = tree.parentOf(folder); parent != npos; parent = tree.parentOf(parent))
            tree.setExpanded(parent, true);
    };
    const auto foldFinished = [&](std::size_t folder) {
        if (!again || folder == 0 || tree.rowOf(folder) == 0)
            return;
        const std::size_t previous = tree.childAt(tree.parentOf(folder), tree.rowOf(folder) - 1);
        for (std::size_t i = previous; i < tree.subtreeEnd(previous); ++i)
            tree.setExpanded(i, false);
    };
    if (onRow(at.place))
        foldFinished(at.folder);
    pass(at.folder);
    for (;;) {
        if (onRow(at.place) && at.row >= walk.rowCount(at.folder))
            return std::nullopt;
        const std::string_view field = walk.field(at);
        if (const auto found = needle.findIn(field, at.position)) {
            foldFinished(at.folder);
            return SearchMatch{at.place, at.folder, onRow(at.place) ? at.row : npos, found->position,
                               found->length, std::string(field)};
        }
        at.position = 1;
        if (at.place == Place::FolderName || at.place == Place::FolderDescription)
            foldFinished(at.folder);
        if (at.place == Place::FolderName) {
            at.place = Place::FolderDescription;
        } else if (at.place == Place::FolderDescription && walk.rowCount(at.folder) > 0) {
            at = {at.folder, Place::Title, 0, 1};
        } else if (at.place == Place::Title || at.place == Place::Address) {
            at.place = at.place == Place::Title ? Place::Address : Place::LinkDescription;
        } else if (at.place == Place::LinkDescription && at.row + 1 < walk.rowCount(at.folder)) {
            at = {at.folder, Place::Title, at.row + 1, 1};
        } else if (at.folder + 1 < tree.count()) {
            at = {at.folder + 1, Place::FolderName, 0, 1};
            pass(at.folder);
        } else {
            return std::nullopt;
        }
    }
}

void LibrarySearch::showMatch(const SearchMatch& match, bool restoreStates, bool treeTakesFocus)
{
    if (restoreStates)
        restoreFolderStates();
    if (match.folder != m_model.selectedFolder() || !m_model.tree().listShows(match.folder))
        m_model.selectFolder(match.folder);
    if (onRow(match.place)) {
        m_model.setRowSelection({match.row}, match.row);
        // The list taking the focus must not put the row's description over a title or address
        // match. (When the list has the focus already it takes none, and nothing is pending.)
        if (match.place != Place::LinkDescription && m_model.m_selection.focus() != Pane::List)
            m_model.m_flags.SearchFocusPending = true;
        m_model.requestFocus(Pane::List);
    } else if (treeTakesFocus) {
        m_model.requestFocus(Pane::Tree);
    }
    const std::string& label = m_model.m_texts[labelText(match.place)];
    m_model.m_description.showHighlighted(label + ' ' + match.field, {characterCount(label) + match.position, match.length});
    m_model.notify([](MainWindowObserver& o) { o.descriptionChanged(); });
    m_session.setLastMatch(match);
}

// The folder states before the search: written to the state file, as every search does, and
// kept, so that they come back without reading the file again.
void LibrarySearch::recordFolderStates()
{
    m_session.keepFolderStates(m_model.folderTree().records());
    if (!m_model.m_lookOnly)
        m_model.m_library.SaveFolderStates();
}

// The tree's expansion and selection as they were before the search began.
void LibrarySearch::restoreFolderStates()
{
    const std::size_t shown = m_model.selectedFolder();
    const auto& states = m_session.folderStatesBefore();
    for (std::size_t i = 0; i < states.size() && i < m_model.folderTree().count(); ++i) {
        m_model.m_library.folderTree().setExpanded(i, states[i].expanded);
        if (states[i].selected)
            m_model.m_library.folderTree().select(i);
    }
    m_model.notify([](MainWindowObserver& o) { o.folderSelectionChanged(); });
    if (m_model.selectedFolder() != shown)
        m_model.selectFolder(m_model.selectedFolder());
}

} // namespace velloria
