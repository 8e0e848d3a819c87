#include "interchange/ChromiumBookmarks.h"

#include "base/Error.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"

#include <simdjson.h>

#include <array>
#include <charconv>

namespace velloria {

namespace {

// The roots in the order the browsers show them, with the names they have when the file gives
// none.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kRoots{
    {{"bookmark_bar", "Bookmarks bar"}, {"other", "Other bookmarks"}, {"synced", "Mobile bookmarks"}}};

// Seconds from 1601-01-01 to 1970-01-01.
constexpr long long kEpochOf1601 = 11644473600LL;

std::string_view stringField(simdjson::dom::element node, std::string_view key)
{
    std::string_view value;
    return node[key].get_string().get(value) == simdjson::SUCCESS ? value : std::string_view();
}

// Calls visit for each child of the node; returns their number.
template <typename Visit> std::size_t forEachChild(simdjson::dom::element node, Visit&& visit)
{
    simdjson::dom::array children;
    if (node["children"].get_array().get(children) != simdjson::SUCCESS)
        return 0;
    for (simdjson::dom::element child : children)
        visit(child);
    return children.size();
}

std::size_t countLinks(simdjson::dom::element node)
{
    std::size_t count = stringField(node, "type") == "url" ? 1 : 0;
    forEachChild(node, [&count](simdjson::dom::element child) { count += countLinks(child); });
    return count;
}

// The node's last use: "date_last_used" of newer browsers, or the older "last_visited_desktop"
// of its meta_info.
std::optional<Date> lastUsed(simdjson::dom::element node)
{
    if (const std::optional<Date> used = chromiumDate(stringField(node, "date_last_used")))
        return used;
    simdjson::dom::element meta;
    if (node["meta_info"].get(meta) != simdjson::SUCCESS)
        return std::nullopt;
    return chromiumDate(stringField(meta, "last_visited_desktop"));
}

class BookmarksReader {
public:
    BookmarksReader(ImportSink& sink, std::uint64_t total) : m_sink(sink), m_total(total) {}

    void readFolder(simdjson::dom::element folder, std::string_view fallbackName)
    {
        const std::string_view name = stringField(folder, "name");
        m_sink.beginFolder(singleLine(name.empty() ? fallbackName : name));
        ++m_counts.folders;
        forEachChild(folder, [this](simdjson::dom::element child) { readNode(child); });
        m_sink.endFolder();
    }

    ImportCounts counts() const { return m_counts; }

private:
    void readNode(simdjson::dom::element node)
    {
        const std::string_view type = stringField(node, "type");
        if (type == "folder") {
            readFolder(node, {});
            return;
        }
        if (type != "url") {
            m_counts.skip(SkipReason::UnknownEntry);
            return;
        }
        const std::string address = singleLine(trimmed(stringField(node, "url")));
        if (address.empty()) {
            m_counts.skip(SkipReason::NoAddress);
        } else {
            m_sink.addLink(singleLine(stringField(node, "name")), address, {},
                           {.added = chromiumDate(stringField(node, "date_added")), .visited = lastUsed(node)});
            ++m_counts.links;
        }
        if (++m_done % 1024 == 0)
            m_sink.progress(m_done, m_total);
    }

    ImportSink& m_sink;
    std::uint64_t m_total;
    std::uint64_t m_done = 0;
    ImportCounts m_counts;
};

} // namespace

std::optional<Date> chromiumDate(std::string_view microsecondsSince1601)
{
    long long microseconds = 0;
    const char* end = microsecondsSince1601.data() + microsecondsSince1601.size();
    if (microsecondsSince1601.empty()
        || std::from_chars(microsecondsSince1601.data(), end, microseconds).ptr != end || microseconds <= 0)
        return std::nullopt;
    return localDateAt(microseconds / 1000000 - kEpochOf1601);
}

ImportCounts readChromiumBookmarks(std::string_view bytes, ImportSink& sink)
{
    simdjson::dom::parser parser;
    simdjson::dom::element document;
    if (const simdjson::error_code error = parser.parse(bytes.data(), bytes.size()).get(document))
        throw Error("The Bookmarks file is damaged: " + std::string(simdjson::error_message(error)));
    simdjson::dom::object roots;
    if (document["roots"].get_object().get(roots) != simdjson::SUCCESS)
        throw Error("This is not the Bookmarks file of a browser: it has no \"roots\"");
    std::vector<std::pair<simdjson::dom::element, std::string_view>> folders;
    std::uint64_t total = 0;
    for (const auto& [key, fallbackName] : kRoots) {
        simdjson::dom::element root;
        if (roots[key].get(root) == simdjson::SUCCESS && forEachChild(root, [](simdjson::dom::element) {}) != 0) {
            folders.emplace_back(root, fallbackName);
            total += countLinks(root);
        }
    }
    BookmarksReader reader(sink, total);
    for (const auto& [root, fallbackName] : folders)
        reader.readFolder(root, fallbackName);
    return reader.counts();
}

ImportCounts ImportChromiumBookmarks(const std::filesystem::path& path, ImportSink& sink)
{
    const std::optional<MappedFile> file = mapFileIfExists(path);
    if (!file)
        throw cannotOpenFileError(path, "The file does not exist.");
    return readChromiumBookmarks(file->bytes(), sink);
}

} // namespace velloria
