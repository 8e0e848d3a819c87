#include "tools/Sort.h"

#include <algorithm>
#include <numeric>

namespace velloria {

namespace {

unsigned char upperAscii(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

} // namespace

int compareSortValues(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = upperAscii(a[i]);
        const unsigned char y = upperAscii(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::uint64_t sortKeyPrefix(std::string_view value)
{
    // A value shorter than eight bytes is padded with zero bytes, which sort first as a shorter
    // value does; a real zero byte makes the keys equal, and compareSortValues decides.
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i)
        key = (key << 8) | (i < value.size() ? upperAscii(value[i]) : 0u);
    return key;
}

std::string_view sortValue(const TLinkRecord& link, int column)
{
    switch (column) {
    case 1: return link.Address;
    case 2: return link.LastVisit;
    case 3: return link.AddDate;
    default: return link.Title;
    }
}

std::vector<std::size_t> sortedOrder(const TLinkList& links, int column, bool reversed)
{
    std::vector<std::size_t> order(links.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const int result = compareSortValues(sortValue(links[x], column), sortValue(links[y], column));
        return reversed ? result > 0 : result < 0;
    });
    return order;
}

std::optional<std::vector<std::size_t>> shownOrder(const TLinkList& links, int sortMode, bool reversed)
{
    if (sortMode < 0 || sortMode >= static_cast<int>(SortMode::Unsorted))
        return std::nullopt;
    return sortedOrder(links, sortMode, reversed);
}

std::vector<std::size_t> applySortMode(TLinkList& links, std::vector<std::string>& descriptions, int sortMode,
                                       bool reversed)
{
    descriptions.resize(links.size());
    std::optional<std::vector<std::size_t>> order = shownOrder(links, sortMode, reversed);
    if (!order) {
        std::vector<std::size_t> stored(links.size());
        std::iota(stored.begin(), stored.end(), std::size_t{0});
        return stored;
    }
    applyOrder(links, *order);
    applyOrder(descriptions, *order);
    return std::move(*order);
}

std::optional<std::vector<RowMove>> rowMovesTo(const std::vector<std::size_t>& order, std::size_t mostMoves)
{
    // A longest increasing run of the old rows, by patience: tails[k] is the place of the
    // smallest last row of a run of k + 1, before[place] the place before it in its run.
    const std::size_t size = order.size();
    std::vector<std::size_t> tails;
    std::vector<std::size_t> before(size, size);
    for (std::size_t place = 0; place < size; ++place) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), order[place],
                                         [&](std::size_t tail, std::size_t row) { return order[tail] < row; });
        if (at != tails.begin())
            before[place] = *(at - 1);
        if (at == tails.end())
            tails.push_back(place);
        else
            *at = place;
    }
    if (size - tails.size() > mostMoves)
        return std::nullopt;
    std::vector<bool> stays(size, false);
    for (std::size_t place = tails.empty() ? size : tails.back(); place != size; place = before[place])
        stays[place] = true;

    // The rows that stay are in order among themselves; each other row, in the order of its new
    // place, goes right after the row that ends up before it, which is then in place already.
    std::vector<RowMove> moves;
    std::vector<std::size_t> current(size);
    std::iota(current.begin(), current.end(), std::size_t{0});
    const auto positionOf = [&](std::size_t row) {
        return static_cast<std::size_t>(std::find(current.begin(), current.end(), row) - current.begin());
    };
    for (std::size_t place = 0; place < size; ++place) {
        if (stays[place])
            continue;
        const std::size_t from = positionOf(order[place]);
        const std::size_t destination = place == 0 ? 0 : positionOf(order[place - 1]) + 1;
        if (destination == from || destination == from + 1)
            continue;
        moves.push_back({from, destination});
        applyMove(current, moves.back());
    }
    return moves;
}

} // namespace velloria
