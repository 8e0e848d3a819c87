#pragma once

#include "store/LinkFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The sort modes of the link list, as the preferences store them.
enum class SortMode { Title = 0, Address = 1, LastVisit = 2, AddDate = 3, Unsorted = 4 };

// Compares two column values as the link list sorts them: byte by byte, with only a to z taken
// as A to Z, a value that begins the other first. No locale: accented letters sort by code, and
// dates sort as the text they are stored as. Negative, zero or positive.
int compareSortValues(std::string_view a, std::string_view b);

// The first eight bytes of a value as compareSortValues compares them, as a number: of two
// values, the one with the smaller key is the smaller; equal keys leave it to compareSortValues.
// For sorting many values, which then mostly compare numbers.
std::uint64_t sortKeyPrefix(std::string_view value);

// The value of a column (0 title, 1 address, 2 last visit, 3 add date) of a row.
std::string_view sortValue(const TLinkRecord& link, int column);

// The order of the rows sorted by a column: entry i is the row that goes to place i. Rows that
// compare equal keep their order.
std::vector<std::size_t> sortedOrder(const TLinkList& links, int column, bool reversed);

// The order the link list shows a folder's links in for a sort mode as the preferences store it:
// by the mode's column, reversed when asked (as sortedOrder gives it); nullopt for Unsorted and a
// mode not known, which keep the stored order.
std::optional<std::vector<std::size_t>> shownOrder(const TLinkList& links, int sortMode, bool reversed);

// Puts a folder's links, with their descriptions, in their shown order. A link without a
// description gets an empty one. Returns the order applied: entry i is the row that went to
// place i.
std::vector<std::size_t> applySortMode(TLinkList& links, std::vector<std::string>& descriptions, int sortMode,
                                       bool reversed);

// Puts the items in the given order (entry i of order is the item for place i); items beyond the
// order keep their places at the end.
template <typename T> void applyOrder(std::vector<T>& items, const std::vector<std::size_t>& order)
{
    std::vector<T> arranged;
    arranged.reserve(items.size());
    for (std::size_t from : order)
        arranged.push_back(from < items.size() ? std::move(items[from]) : T());
    for (std::size_t i = order.size(); i < items.size(); ++i)
        arranged.push_back(std::move(items[i]));
    items = std::move(arranged);
}

// One row taken out of a list and put back: it goes before the row that was at destination
// (the size of the list: to the end). destination is never from or from + 1.
struct RowMove {
    std::size_t from = 0;
    std::size_t destination = 0;
    bool operator==(const RowMove&) const = default;
};

// The fewest single-row moves that, made one after the other, put a list in the given order
// (entry i is the row that goes to place i): the rows outside a longest run that is already in
// order move. nullopt when more than mostMoves rows would have to move.
std::optional<std::vector<RowMove>> rowMovesTo(const std::vector<std::size_t>& order, std::size_t mostMoves);

// Makes one move on the items, as rowMovesTo gives it.
template <typename T> void applyMove(std::vector<T>& items, RowMove move)
{
    const auto from = items.begin() + static_cast<std::ptrdiff_t>(move.from);
    const auto to = items.begin() + static_cast<std::ptrdiff_t>(move.destination);
    if (move.destination < move.from)
        std::rotate(to, from, from + 1);
    else
        std::rotate(from, from + 1, to);
}

} // namespace velloria
