#pragma once

#include "tools/LibraryLinks.h"
#include "tools/LinkFilter.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velloria {

class MainWindowModel;

// The filter above the link list: while its text holds a word, the list shows every link of the
// library that matches it (tools/LinkFilter) in place of the selected folder's links, with each
// link's folder, and Open, Edit, Delete, Cut and Copy act on the rows selected there, each
// written to its own folder's file. The tree stays as it is. The links come from an index of the
// whole library, made when first needed and brought up to date after each change of the library.
// A part of the window model, which it acts on.
class LinkFiltering {
public:
    explicit LinkFiltering(MainWindowModel& model) : m_model(model) {}
    LinkFiltering(const LinkFiltering&) = delete;
    LinkFiltering& operator=(const LinkFiltering&) = delete;

    // The text as typed. Without a word in it the list shows the selected folder again.
    void setText(std::string_view text);
    const std::string& text() const { return m_text; }
    bool active() const { return !m_words.empty(); }

    // The rows shown, in the order of the list's sort mode.
    std::size_t rowCount() const { return m_rows.size(); }
    LinkIndex::Link link(std::size_t row) const { return m_index.at(m_rows[row]); }
    const std::string& folderPath(std::size_t row) const { return m_index.folderPath(m_rows[row]); }

    // The rows selected in the list, ascending, and the focused one (npos for none).
    void selectRows(std::vector<std::size_t> rows, std::size_t focused);
    const std::vector<std::size_t>& selectedRows() const { return m_selected; }
    std::size_t focusedRow() const { return m_focused; }
    // The row Open and Edit act on: the focused one, else the first selected; npos for none.
    std::size_t currentRow() const;
    // The selected rows' links, as the commands that act on several folders take them, and when
    // asked their descriptions.
    std::vector<LibraryLink> selectedLinks(std::vector<std::string>* descriptions = nullptr) const;

    // The list of the rows has the focus: without a selection its first row is selected, as in a
    // folder's list; with no row, the focus goes back to the tree.
    void entered();
    // The library has changed (an edit, an import, a revert): the index reads what changed and
    // the rows are found again; the rows selected stay selected where they are still shown.
    void libraryChanged();
    // The sort mode or its direction has changed.
    void sortModeChanged();

    // The commands on the selected rows.
    void open(bool newWindow);
    void copy();
    void cut();
    void deleteSelected();
    // Changes the current link as Edit does; the title is made unique in its folder.
    void editCurrent(std::string_view title, std::string_view address, std::string_view description);

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    // Where the selected and focused rows' links are, by folder and row: a link keeps its place
    // through an edit and a new order, and after a deletion the links that took the places of
    // those gone are selected.
    struct Places {
        std::vector<std::pair<std::size_t, std::size_t>> selected; // ascending
        std::optional<std::pair<std::size_t, std::size_t>> focused;
    };
    Places selectionPlaces() const;
    void selectPlaces(const Places& places);
    void showRows(std::vector<std::uint32_t> matches);

    MainWindowModel& m_model;
    std::string m_text;
    FilterWords m_words;
    LinkIndex m_index;
    std::vector<std::uint32_t> m_matches; // in tree order
    std::vector<std::uint32_t> m_rows;    // the matches in the order shown
    std::vector<std::size_t> m_selected;
    std::size_t m_focused = npos;
};

} // namespace velloria
