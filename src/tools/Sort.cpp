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

std::vector<std::size_t> applySortMode(TLinkList& links, std::vector<std::string>& descriptions, int sortMode,
                                       bool reversed)
{
    descriptions.resize(links.size());
    if (sortMode < 0 || sortMode >= static_cast<int>(SortMode::Unsorted)) {
        std::vector<std::size_t> stored(links.size());
        std::iota(stored.begin(), stored.end(), std::size_t{0});
        return stored;
    }
    std::vector<std::size_t> order = sortedOrder(links, sortMode, reversed);
    applyOrder(links, order);
    applyOrder(descriptions, order);
    return order;
}

} // namespace velloria
