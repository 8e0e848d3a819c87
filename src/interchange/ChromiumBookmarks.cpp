#include "interchange/ChromiumBookmarks.h"

#include "base/Error.h"
#include "base/TextLines.h"

#include <simdjson.h>

#include <array>
#include <charconv>
#include <map>

namespace velloria {

namespace {

namespace od = simdjson::ondemand;

// The roots in the order the browsers show them, with the names they have when the file gives
// none.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kRoots{
    {{"bookmark_bar", "Bookmarks bar"}, {"other", "Other bookmarks"}, {"synced", "Mobile bookmarks"}}};

// Seconds from 1601-01-01 to 1970-01-01.
constexpr long long kEpochOf1601 = 11644473600LL;

// A node of the file as the import needs it. The file is read into these first (and so checked
// whole) and only then handed to the sink; they hold far less than the file or a full DOM of it.
struct Node {
    enum class Kind { Folder, Link, Unknown };
    Kind kind = Kind::Unknown;
    std::string name;
    std::string address;
    LinkDates dates;
    std::vector<Node> children;
};

std::string_view stringOf(od::value value)
{
    return std::string_view(value.get_string());
}

// A string value that holds no escapes (a type, a number of microseconds) as it stands in the
// file, without the copy that unescaping makes. Anything with an escape or not a string is "".
std::string_view plainStringOf(od::value value)
{
    const char* begin = od::raw_json_string(value.get_raw_json_string()).raw();
    const char* end = begin;
    while (*end != '"' && *end != '\\')
        ++end;
    return *end == '"' ? std::string_view(begin, static_cast<std::size_t>(end - begin)) : std::string_view();
}

// The fields in the order the file gives them: Chromium writes them sorted, so a folder's
// children come before its name and type.
Node readNode(od::object object)
{
    Node node;
    std::optional<Date> lastUsed;
    std::optional<Date> lastVisited;
    for (od::field field : object) {
        // The keys are compared as they stand in the file, which copies nothing.
        const od::raw_json_string key = field.key();
        if (key == "children") {
            for (od::value child : field.value().get_array())
                node.children.push_back(readNode(child.get_object()));
        } else if (key == "type") {
            const std::string_view type = plainStringOf(field.value());
            node.kind = type == "folder" ? Node::Kind::Folder : type == "url" ? Node::Kind::Link : Node::Kind::Unknown;
        } else if (key == "name") {
            node.name = singleLine(stringOf(field.value()));
        } else if (key == "url") {
            node.address = singleLine(trimmed(stringOf(field.value())));
        } else if (key == "date_added") {
            node.dates.added = chromiumDate(plainStringOf(field.value()));
        } else if (key == "date_last_used") {
            lastUsed = chromiumDate(plainStringOf(field.value()));
        } else if (key == "meta_info") {
            // Older browsers kept the last visit here.
            for (od::field meta : field.value().get_object())
                if (meta.key() == "last_visited_desktop")
                    lastVisited = chromiumDate(plainStringOf(meta.value()));
        }
    }
    node.dates.visited = lastUsed ? lastUsed : lastVisited;
    return node;
}

std::uint64_t countLinks(const Node& node)
{
    std::uint64_t count = node.kind == Node::Kind::Link ? 1 : 0;
    for (const Node& child : node.children)
        count += countLinks(child);
    return count;
}

// The roots that hold anything, in the browsers' order, named as the file names them.
std::vector<Node> readRoots(const simdjson::padded_string_view bytes)
{
    od::parser parser;
    std::map<std::string, Node, std::less<>> roots;
    bool hasRoots = false;
    try {
        od::document document = parser.iterate(bytes);
        for (od::field field : document.get_object()) {
            if (field.unescaped_key().value() != "roots")
                continue;
            hasRoots = true;
            for (od::field root : field.value().get_object())
                roots[std::string(root.unescaped_key().value())] = readNode(root.value().get_object());
        }
    } catch (const simdjson::simdjson_error& error) {
        throw Error("The Bookmarks file is damaged: " + std::string(error.what()));
    }
    if (!hasRoots)
        throw Error("This is not the Bookmarks file of a browser: it has no \"roots\"");
    std::vector<Node> shown;
    for (const auto& [key, fallbackName] : kRoots) {
        const auto it = roots.find(key);
        if (it == roots.end() || it->second.children.empty())
            continue;
        shown.push_back(std::move(it->second));
        shown.back().kind = Node::Kind::Folder;
        if (shown.back().name.empty())
            shown.back().name = fallbackName;
    }
    return shown;
}

class BookmarksReader {
public:
    BookmarksReader(ImportSink& sink, std::uint64_t total) : m_sink(sink), m_total(total) {}

    void read(const Node& node)
    {
        if (node.kind == Node::Kind::Folder) {
            m_sink.beginFolder(node.name);
            ++m_counts.folders;
            for (const Node& child : node.children)
                read(child);
            m_sink.endFolder();
            return;
        }
        if (node.kind == Node::Kind::Unknown) {
            m_counts.skip(SkipReason::UnknownEntry);
            return;
        }
        if (node.address.empty()) {
            m_counts.skip(SkipReason::NoAddress);
        } else {
            m_sink.addLink(node.name, node.address, {}, node.dates);
            ++m_counts.links;
        }
        if (++m_done % 1024 == 0)
            m_sink.progress(m_done, m_total);
    }

    ImportCounts counts() const { return m_counts; }

private:
    ImportSink& m_sink;
    std::uint64_t m_total;
    std::uint64_t m_done = 0;
    ImportCounts m_counts;
};

ImportCounts readInto(const std::vector<Node>& roots, ImportSink& sink)
{
    std::uint64_t total = 0;
    for (const Node& root : roots)
        total += countLinks(root);
    BookmarksReader reader(sink, total);
    for (const Node& root : roots)
        reader.read(root);
    return reader.counts();
}

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
    const simdjson::padded_string padded(bytes.data(), bytes.size());
    return readInto(readRoots(padded), sink);
}

ImportCounts ImportChromiumBookmarks(const std::filesystem::path& path, ImportSink& sink)
{
    std::vector<Node> roots;
    {
        // Read straight into a buffer with the room the parser needs after the bytes, so that
        // the file is in memory once, and only until it is read.
        simdjson::padded_string bytes;
        if (const simdjson::error_code error = simdjson::padded_string::load(path.string()).get(bytes))
            throw cannotOpenFileError(path, error == simdjson::IO_ERROR && !std::filesystem::exists(path)
                                                ? "The file does not exist."
                                                : simdjson::error_message(error));
        roots = readRoots(bytes);
    }
    return readInto(roots, sink);
}

} // namespace velloria
