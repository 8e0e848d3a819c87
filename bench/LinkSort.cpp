#include "LinkSort.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace velloria::bench {

namespace {

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The folded titles side by side in one buffer: comparing them is a plain byte comparison of
// memory that lies together, instead of folding both titles again for each comparison.
class FoldedTitles {
public:
    explicit FoldedTitles(const TLinkList& links)
    {
        std::size_t total = 0;
        for (const TLinkRecord& link : links)
            total += link.Title.size();
        m_text.reserve(total);
        m_starts.reserve(links.size() + 1);
        for (const TLinkRecord& link : links) {
            m_starts.push_back(m_text.size());
            std::transform(link.Title.begin(), link.Title.end(), std::back_inserter(m_text), foldAscii);
        }
        m_starts.push_back(m_text.size());
    }

    std::string_view operator[](std::size_t row) const
    {
        return std::string_view(m_text).substr(m_starts[row], m_starts[row + 1] - m_starts[row]);
    }

private:
    std::string m_text;
    std::vector<std::size_t> m_starts;
};

// Moves every row to its place along the cycles of the permutation, so that no second copy of
// the list is made. order[i] is the row that goes to place i.
void applyOrder(const std::vector<std::size_t>& order, TLinkList& links, std::vector<std::string>& descriptions)
{
    std::vector<char> placed(order.size(), 0);
    for (std::size_t first = 0; first < order.size(); ++first) {
        if (placed[first])
            continue;
        TLinkRecord link = std::move(links[first]);
        std::string description = std::move(descriptions[first]);
        std::size_t place = first;
        while (order[place] != first) {
            links[place] = std::move(links[order[place]]);
            descriptions[place] = std::move(descriptions[order[place]]);
            placed[place] = 1;
            place = order[place];
        }
        links[place] = std::move(link);
        descriptions[place] = std::move(description);
        placed[place] = 1;
    }
}

} // namespace

bool titleLess(const TLinkRecord& a, const TLinkRecord& b)
{
    return std::lexicographical_compare(a.Title.begin(), a.Title.end(), b.Title.begin(), b.Title.end(),
                                        [](char x, char y) {
                                            return static_cast<unsigned char>(foldAscii(x))
                                                < static_cast<unsigned char>(foldAscii(y));
                                        });
}

void sortLinksByTitle(TLinkList& links, std::vector<std::string>& descriptions)
{
    descriptions.resize(links.size());
    const FoldedTitles titles(links);
    std::vector<std::size_t> order(links.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return titles[a] < titles[b]; });
    applyOrder(order, links, descriptions);
}

} // namespace velloria::bench
