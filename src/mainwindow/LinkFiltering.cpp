// The filter above the link list: the matching links of the whole library and the commands on them.

#include "mainwindow/LinkFiltering.h"

#include "base/Clock.h"
#include "base/WebAddress.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"

#include <algorithm>
#include <utility>

namespace velloria {

void LinkFiltering::setText(std::string_view text)
{
    const bool wasActive = active();
    FilterWords words(text);
    const bool narrowing = wasActive && words.narrows(m_words);
    m_text = std::string(text);
    m_words = std::move(words);
    if (!active()) {
        if (!wasActive)
            return;
        showRows({});
        // The description of what the list shows again.
        if (m_model.m_selection.focus() == Pane::List && m_model.m_selection.selectedRow() != npos)
            m_model.showRowDescription();
        else
            m_model.showFolderDescription();
        return;
    }
    // Coming back to the filter, the index reads what changed while it was not shown.
    const bool changed = !wasActive && m_index.refresh(m_model.library());
    showRows(m_index.match(m_words, narrowing && !changed ? &m_matches : nullptr));
}

void LinkFiltering::showRows(std::vector<std::uint32_t> matches)
{
    m_model.notify([](MainWindowObserver& o) { o.filterAboutToChange(); });
    m_matches = std::move(matches);
    const TPreferences& prefs = m_model.prefs();
    m_rows = m_index.sorted(m_matches, prefs.SortMode, prefs.ReversedOrder);
    m_selected.clear(); // the callers select again what they keep
    m_focused = npos;
    m_model.notify([](MainWindowObserver& o) { o.filterChanged(); });
    m_model.updateStatusBar();
    m_model.updateCommands();
}

void LinkFiltering::selectRows(std::vector<std::size_t> rows, std::size_t focused)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](std::size_t row) { return row >= m_rows.size(); }),
               rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    m_selected = std::move(rows);
    m_focused = focused < m_rows.size() ? focused : npos;
    if (m_focused != npos) // the pane shows the focused link's description, as for a folder's row
        m_model.setDescription(std::string(link(m_focused).description));
    m_model.updateStatusBar();
    m_model.updateCommands();
}

std::size_t LinkFiltering::currentRow() const
{
    return m_focused != npos ? m_focused : m_selected.empty() ? npos : m_selected.front();
}

void LinkFiltering::entered()
{
    if (m_rows.empty()) {
        m_model.requestFocus(Pane::Tree);
        return;
    }
    if (m_selected.empty()) {
        selectRows({0}, 0);
        m_model.notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
    } else if (m_focused != npos) {
        m_model.setDescription(std::string(link(m_focused).description));
    }
}

std::vector<LibraryLink> LinkFiltering::selectedLinks(std::vector<std::string>* descriptions) const
{
    std::vector<LibraryLink> links;
    for (const std::size_t row : m_selected) {
        const LinkIndex::Link found = link(row);
        links.push_back({.folder = found.folder, .row = found.row, .link = found.link, .writable = found.writable});
        if (descriptions)
            descriptions->emplace_back(found.description);
    }
    return links;
}

LinkFiltering::Places LinkFiltering::selectionPlaces() const
{
    Places places;
    for (const std::size_t row : m_selected)
        places.selected.emplace_back(link(row).folder, link(row).row);
    std::sort(places.selected.begin(), places.selected.end());
    if (m_focused != npos)
        places.focused = {link(m_focused).folder, link(m_focused).row};
    return places;
}

void LinkFiltering::selectPlaces(const Places& places)
{
    std::vector<std::size_t> rows;
    std::size_t focused = npos;
    for (std::size_t row = 0; row < m_rows.size() && (!places.selected.empty() || places.focused); ++row) {
        const std::pair<std::size_t, std::size_t> place{link(row).folder, link(row).row};
        if (std::binary_search(places.selected.begin(), places.selected.end(), place))
            rows.push_back(row);
        if (place == places.focused)
            focused = row;
    }
    selectRows(std::move(rows), focused);
    m_model.notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
}

void LinkFiltering::libraryChanged()
{
    if (!active())
        return;
    const Places places = selectionPlaces(); // before the index changes
    if (!m_index.refresh(m_model.library()))
        return;
    showRows(m_index.match(m_words));
    selectPlaces(places);
}

void LinkFiltering::sortModeChanged()
{
    if (!active())
        return;
    const Places places = selectionPlaces();
    showRows(std::move(m_matches));
    selectPlaces(places);
}

void LinkFiltering::open(bool newWindow)
{
    const std::size_t row = currentRow();
    if (row == npos)
        return;
    const LinkIndex::Link found = link(row);
    const std::string address = browserAddress(std::string(found.link.Address));
    TPreferences& record = m_model.m_preferences.record();
    record.LastLinkTitle = std::string(found.link.Title);
    record.LastFolderName = m_model.folderTree()[found.folder].Name;
    const LibraryLink visited{.folder = found.folder, .row = found.row, .link = found.link, .writable = found.writable};
    // The visit is recorded whether or not the preferences could be written.
    m_model.savePreferencesAndThen([&] {
        if (newWindow)
            m_model.m_opener.openInNewWindow("about:blank");
        m_model.m_opener.open(address);
        m_model.editing().changeLinks({{.link = visited, .lastVisit = formatDate(m_model.m_clock.today())}});
    });
}

void LinkFiltering::copy()
{
    std::vector<UndoLinkEntry> entries;
    for (const std::size_t row : m_selected) {
        const LinkIndex::Link found = link(row);
        entries.push_back({.Title = std::string(found.link.Title), .Address = std::string(found.link.Address),
                           .LastVisit = std::string(found.link.LastVisit), .AddDate = std::string(found.link.AddDate),
                           .Description = std::string(found.description), .Index = found.row});
    }
    m_model.clipboard().take(std::move(entries));
}

void LinkFiltering::cut()
{
    copy();
    deleteSelected();
}

void LinkFiltering::deleteSelected()
{
    m_model.deleting().deleteLinks(selectedLinks());
}

void LinkFiltering::editCurrent(std::string_view title, std::string_view address, std::string_view description)
{
    if (currentRow() == npos)
        return;
    const LinkIndex::Link found = link(currentRow());
    ItemEditing::LinkChange change{
        .link = {.folder = found.folder, .row = found.row, .link = found.link, .writable = found.writable},
        .address = std::string(address),
        .description = std::string(description)};
    if (title != found.link.Title)
        change.title = std::string(title);
    m_model.editing().changeLinks({change});
}

} // namespace velloria
