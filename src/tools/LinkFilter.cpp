#include "tools/LinkFilter.h"

#include "base/Error.h"
#include "base/Parallel.h"
#include "base/Text.h"
#include "store/FolderTree.h"
#include "store/Library.h"
#include "tools/Sort.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace velloria {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// A field's folded text ends with this byte, which no word holds, so no word matches across two.
constexpr char kFieldEnd = '\n';

struct Span {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

} // namespace

FilterWords::FilterWords(std::string_view text)
{
    std::string folded;
    appendFoldedPlain(folded, text);
    std::size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && isSpace(folded[i]))
            ++i;
        const std::size_t start = i;
        while (i < folded.size() && !isSpace(folded[i]))
            ++i;
        if (i > start)
            m_words.push_back(folded.substr(start, i - start));
    }
    // The longest word first: it is found in the fewest links, so the others are looked for in few.
    std::stable_sort(m_words.begin(), m_words.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

bool FilterWords::narrows(const FilterWords& earlier) const
{
    return std::all_of(earlier.m_words.begin(), earlier.m_words.end(), [&](const std::string& old) {
        return std::any_of(m_words.begin(), m_words.end(),
                           [&](const std::string& word) { return word.find(old) != std::string::npos; });
    });
}

bool FilterWords::matchesFolded(std::string_view folded) const
{
    return std::all_of(m_words.begin(), m_words.end(),
                       [&](const std::string& word) { return folded.find(word) != std::string_view::npos; });
}

bool filterMatches(const FilterWords& words, std::string_view title, std::string_view address,
                   std::string_view description)
{
    std::string folded;
    for (std::string_view field : {title, address, description}) {
        appendFoldedPlain(folded, field);
        folded += kFieldEnd;
    }
    return words.matchesFolded(folded);
}

// One folder: its file's bytes, where its links' columns are in them, and their folded text.
struct LinkIndex::Part {
    std::string name;
    std::string path;
    std::size_t folder = 0;
    FileStamp stamp;
    std::string bytes;
    std::vector<std::array<Span, 5>> links; // title, address, last visit, add date, description
    std::string folded;                     // each link's title, address and description, each ended
    std::vector<std::uint32_t> starts;      // where each link's folded text starts; one more at the end
    bool writable = true;
    std::string problem;

    std::string_view at(std::size_t row, std::size_t column) const
    {
        const Span span = links[row][column];
        return std::string_view(bytes).substr(span.offset, span.length);
    }
    std::string_view foldedText(std::size_t row) const
    {
        return std::string_view(folded).substr(starts[row], starts[row + 1] - starts[row]);
    }

    void read(std::string content)
    {
        bytes = std::move(content);
        const LinkFileView view = viewLinkFile(bytes);
        if (view.error) {
            writable = false;
            problem = name + ": " + *view.error;
        }
        const auto spanOf = [&](std::string_view value) {
            return value.empty() ? Span{}
                                 : Span{static_cast<std::uint32_t>(value.data() - bytes.data()),
                                        static_cast<std::uint32_t>(value.size())};
        };
        links.resize(view.links.size());
        starts.resize(view.links.size() + 1);
        // Every page of memory first written costs; the folded text is reserved about its size.
        folded.reserve(bytes.size() * 3 / 4);
        for (std::size_t row = 0; row < view.links.size(); ++row) {
            const LinkRecordView& link = view.links[row];
            const std::string_view description = row < view.descriptions.size() ? view.descriptions[row] : "";
            links[row] = {spanOf(link.Title), spanOf(link.Address), spanOf(link.LastVisit), spanOf(link.AddDate),
                          spanOf(description)};
            starts[row] = static_cast<std::uint32_t>(folded.size());
            for (std::string_view field : {link.Title, link.Address, description}) {
                appendFoldedPlain(folded, field);
                folded += kFieldEnd;
            }
        }
        starts.back() = static_cast<std::uint32_t>(folded.size());
    }
};

LinkIndex::LinkIndex() : m_first{0} {}
LinkIndex::~LinkIndex() = default;
LinkIndex::LinkIndex(LinkIndex&&) noexcept = default;
LinkIndex& LinkIndex::operator=(LinkIndex&&) noexcept = default;

bool LinkIndex::refresh(const Library& library)
{
    const TFolderTree& tree = library.folderTree();
    std::unordered_map<std::string_view, std::unique_ptr<Part>*> known;
    for (auto& part : m_parts)
        known.emplace(part->name, &part);
    std::vector<std::unique_ptr<Part>> parts;
    parts.reserve(tree.count());
    std::vector<Part*> unread;
    std::vector<std::string> contents;
    bool changed = tree.count() != m_parts.size();
    for (std::size_t folder = 0; folder < tree.count(); ++folder) {
        const std::string& name = tree[folder].Name;
        const auto file = library.paths().linkFilePath(name, kWorkingLinkExt);
        const FileStamp stamp = fileStamp(file);
        std::string path = velloria::folderPath(tree, folder);
        const auto found = known.find(name);
        if (found != known.end() && *found->second && (*found->second)->stamp == stamp) {
            parts.push_back(std::move(*found->second));
            changed = changed || parts.back()->folder != folder || parts.back()->path != path;
        } else {
            parts.push_back(std::make_unique<Part>());
            parts.back()->name = name;
            parts.back()->stamp = stamp;
            changed = true;
            try {
                contents.push_back(readFileIfExists(file).value_or(std::string()));
                unread.push_back(parts.back().get());
            } catch (const Error& error) {
                parts.back()->writable = false;
                parts.back()->problem = name + ": " + error.what();
            }
        }
        parts.back()->folder = folder;
        parts.back()->path = std::move(path);
    }
    inParts(unread.size(), 16, [](std::size_t, std::size_t, std::size_t) {},
            [&](std::size_t begin, std::size_t end, std::size_t) {
                for (std::size_t i = begin; i < end; ++i) {
                    unread[i]->read(std::move(contents[i]));
                }
            });
    m_parts = std::move(parts);
    m_first.assign(1, 0);
    for (const auto& part : m_parts)
        m_first.push_back(m_first.back() + part->links.size());
    if (changed)
        m_orders = {};
    return changed;
}

std::size_t LinkIndex::size() const
{
    return m_first.back();
}

std::size_t LinkIndex::partOf(std::size_t index) const
{
    return static_cast<std::size_t>(std::upper_bound(m_first.begin(), m_first.end(), index) - m_first.begin()) - 1;
}

LinkIndex::Link LinkIndex::at(std::size_t index) const
{
    const std::size_t p = partOf(index);
    const Part& part = *m_parts[p];
    const std::size_t row = index - m_first[p];
    return {.folder = part.folder,
            .row = row,
            .link = {part.at(row, 0), part.at(row, 1), part.at(row, 2), part.at(row, 3)},
            .description = part.at(row, 4),
            .writable = part.writable};
}

const std::string& LinkIndex::folderPath(std::size_t index) const
{
    return m_parts[partOf(index)]->path;
}

std::vector<std::string> LinkIndex::problems() const
{
    std::vector<std::string> lines;
    for (const auto& part : m_parts)
        if (!part->problem.empty())
            lines.push_back(part->problem);
    return lines;
}

std::vector<std::uint32_t> LinkIndex::match(const FilterWords& words, const std::vector<std::uint32_t>* within) const
{
    std::vector<std::uint32_t> found;
    if (within) {
        std::size_t part = 0;
        for (const std::uint32_t index : *within) {
            while (m_first[part + 1] <= index)
                ++part;
            if (words.matchesFolded(m_parts[part]->foldedText(index - m_first[part])))
                found.push_back(index);
        }
        return found;
    }
    if (words.empty()) {
        found.resize(size());
        std::iota(found.begin(), found.end(), std::uint32_t{0});
        return found;
    }
    // The first word is looked for through each folder's folded text at once; only the links it
    // is found in are looked at for the other words.
    const std::string& first = words.words().front();
    for (std::size_t p = 0; p < m_parts.size(); ++p) {
        const Part& part = *m_parts[p];
        const std::string_view text = part.folded;
        std::size_t at = text.find(first);
        while (at != std::string_view::npos) {
            const auto next = std::upper_bound(part.starts.begin(), part.starts.end(), static_cast<std::uint32_t>(at));
            const std::size_t row = static_cast<std::size_t>(next - part.starts.begin()) - 1;
            if (words.words().size() == 1 || words.matchesFolded(part.foldedText(row)))
                found.push_back(static_cast<std::uint32_t>(m_first[p] + row));
            at = text.find(first, *next);
        }
    }
    return found;
}

const std::vector<std::uint32_t>& LinkIndex::orderBy(int column, bool reversed) const
{
    auto& order = m_orders[static_cast<std::size_t>(column * 2 + (reversed ? 1 : 0))];
    if (!order) {
        // Each link's value and key once, then one stable sort of all: ties keep tree order.
        std::vector<std::string_view> values(size());
        std::vector<std::uint64_t> keys(size());
        for (std::size_t p = 0; p < m_parts.size(); ++p)
            for (std::size_t row = 0; row < m_parts[p]->links.size(); ++row) {
                const std::size_t i = m_first[p] + row;
                values[i] = m_parts[p]->at(row, static_cast<std::size_t>(column));
                keys[i] = sortKeyPrefix(values[i]);
            }
        order.emplace(size());
        std::iota(order->begin(), order->end(), std::uint32_t{0});
        std::stable_sort(order->begin(), order->end(), [&](std::uint32_t x, std::uint32_t y) {
            if (keys[x] != keys[y])
                return reversed ? keys[x] > keys[y] : keys[x] < keys[y];
            const int result = compareSortValues(values[x], values[y]);
            return reversed ? result > 0 : result < 0;
        });
    }
    return *order;
}

std::vector<std::uint32_t> LinkIndex::sorted(const std::vector<std::uint32_t>& links, int sortMode, bool reversed) const
{
    if (sortMode < 0 || sortMode >= static_cast<int>(SortMode::Unsorted))
        return links;
    const std::vector<std::uint32_t>& order = orderBy(sortMode, reversed);
    if (links.size() == size())
        return order;
    std::vector<bool> wanted(size());
    for (const std::uint32_t index : links)
        wanted[index] = true;
    std::vector<std::uint32_t> result;
    result.reserve(links.size());
    for (const std::uint32_t index : order)
        if (wanted[index])
            result.push_back(index);
    return result;
}

} // namespace velloria
