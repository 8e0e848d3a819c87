#pragma once

#include "platform/FileIO.h"
#include "store/LinkFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class Library;

// The words of a filter as typed, split at white space, each folded as appendFoldedPlain folds
// it, so that neither case nor accents count.
class FilterWords {
public:
    FilterWords() = default;
    explicit FilterWords(std::string_view text);
    bool empty() const { return m_words.empty(); }
    const std::vector<std::string>& words() const { return m_words; } // the longest first

    // True when every link this filter matches was matched by earlier too: each word of earlier
    // is part of one of these.
    bool narrows(const FilterWords& earlier) const;
    // True when every word occurs in the folded text.
    bool matchesFolded(std::string_view folded) const;

private:
    std::vector<std::string> m_words;
};

// The rule of a link that a filter matches: each word occurs in its title, its address or its
// description, in any order, a word within one field.
bool filterMatches(const FilterWords& words, std::string_view title, std::string_view address,
                   std::string_view description);

// Every link of the library held in memory for filtering as the user types: each folder's
// working link file as it was read, its links' columns as places in those bytes, and their
// titles, addresses and descriptions folded once. refresh reads again only the files of the
// folders that are new or have changed, so edits keep it current without reading the library
// again. Links are numbered in tree order and, within a folder, in the order of its file.
class LinkIndex {
public:
    LinkIndex();
    ~LinkIndex();
    LinkIndex(LinkIndex&&) noexcept;
    LinkIndex& operator=(LinkIndex&&) noexcept;

    struct Link {
        std::size_t folder = 0; // the folder's index in the tree
        std::size_t row = 0;    // its row in the folder's working link file
        LinkRecordView link;
        std::string_view description;
        bool writable = true; // false for a link of a file read only up to a damaged line
    };

    // Brings the index up to the library's tree and working link files. True when any link or
    // folder path changed, which renumbers the links.
    bool refresh(const Library& library);
    std::size_t size() const;
    Link at(std::size_t index) const;
    // The path of the folder of a link, its names from the top joined by " / ".
    const std::string& folderPath(std::size_t index) const;
    // One line per folder whose file could not be read or is damaged ("folder: reason").
    std::vector<std::string> problems() const;

    // The links that match, in tree order; only among within (in tree order) when given, as for a
    // filter that narrows the one that gave within.
    std::vector<std::uint32_t> match(const FilterWords& words, const std::vector<std::uint32_t>* within = nullptr) const;
    // The links given, in tree order, put in the order a folder's list shows them for a sort mode
    // (0 title, 1 address, 2 last visit, 3 add date; any other keeps them as they are). The order
    // of the whole index for a column is worked out once, when first asked for.
    std::vector<std::uint32_t> sorted(const std::vector<std::uint32_t>& links, int sortMode, bool reversed) const;

private:
    struct Part;
    std::size_t partOf(std::size_t index) const;
    const std::vector<std::uint32_t>& orderBy(int column, bool reversed) const;

    std::vector<std::unique_ptr<Part>> m_parts; // one per folder, in tree order
    std::vector<std::size_t> m_first;           // the number of the first link of each part; one more at the end
    mutable std::array<std::optional<std::vector<std::uint32_t>>, 8> m_orders;
};

} // namespace velloria
