#include "interchange/FirefoxPlaces.h"

#include "base/Error.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace velloria {

namespace fs = std::filesystem;

namespace {

constexpr int kBookmark = 1;
constexpr int kFolder = 2;
constexpr int kSeparator = 3;

// The roots in the order Firefox shows them, with the names it shows.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kRoots{{{"menu________", "Bookmarks Menu"},
                                                                                {"toolbar_____", "Bookmarks Toolbar"},
                                                                                {"unfiled_____", "Other Bookmarks"},
                                                                                {"mobile______", "Mobile Bookmarks"}}};
constexpr std::string_view kTagsRoot = "tags________";

// Copies taken while Firefox writes may differ from each other; so many tries, then the last.
constexpr int kCopyAttempts = 5;

struct Entry {
    std::int64_t id = 0;
    int type = 0;
    std::int64_t place = 0;
    std::string title;
    std::optional<Date> added;
    std::optional<Date> visited;
    std::string address;
    bool hasAddress = false;
};

std::optional<Date> prTimeDate(sqlite3_stmt* statement, int column)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return std::nullopt;
    const std::int64_t microseconds = sqlite3_column_int64(statement, column);
    return microseconds > 0 ? std::optional<Date>(localDateAt(microseconds / 1000000)) : std::nullopt;
}

std::string textColumn(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? singleLine(toUtf8(text)) : std::string();
}

// The database copy opened for reading, and its statements.
class PlacesDatabase {
public:
    PlacesDatabase(const fs::path& copy, const fs::path& original) : m_original(original)
    {
        sqlite3* handle = nullptr;
        const int opened = sqlite3_open_v2(copy.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        m_handle.reset(handle);
        if (opened != SQLITE_OK)
            fail();
        // The copy goes away after reading: writing the log back into it on closing is wasted.
        sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }

    // Runs the query and calls row(statement) for each row of its result.
    template <typename Row> void query(const char* sql, Row&& row, std::int64_t parameter = 0)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_handle.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
            fail();
        const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, sqlite3_finalize);
        if (parameter != 0)
            sqlite3_bind_int64(raw, 1, parameter);
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(raw)) == SQLITE_ROW)
            row(raw);
        if (step != SQLITE_DONE)
            fail();
    }

private:
    [[noreturn]] void fail() const
    {
        throw Error("Cannot read the Firefox bookmarks in \"" + m_original.string()
                    + "\": " + (m_handle ? sqlite3_errmsg(m_handle.get()) : "out of memory"));
    }

    struct Close {
        void operator()(sqlite3* handle) const { sqlite3_close(handle); }
    };
    std::unique_ptr<sqlite3, Close> m_handle;
    fs::path m_original;
};

// Everything the import needs, read from the copy before the sink hears of any of it.
struct Places {
    std::vector<std::pair<std::int64_t, std::string_view>> roots; // id and name, in kRoots order
    std::vector<Entry> entries;                                   // ordered by parent, then position
    std::unordered_map<std::int64_t, std::pair<std::size_t, std::size_t>> children; // parent -> range
    std::unordered_map<std::int64_t, std::string> descriptions;                     // place -> tags, keyword
    std::uint64_t bookmarks = 0;
};

void readTagsAndKeywords(PlacesDatabase& database, std::int64_t tagsRoot, Places& places)
{
    std::unordered_map<std::int64_t, std::string> tags;
    database.query(
        "SELECT t.fk, tag.title FROM moz_bookmarks t JOIN moz_bookmarks tag ON tag.id = t.parent "
        "WHERE tag.parent = ?1 AND t.type = 1 ORDER BY tag.title",
        [&](sqlite3_stmt* row) {
            std::string& list = tags[sqlite3_column_int64(row, 0)];
            list += (list.empty() ? "" : ", ") + textColumn(row, 1);
        },
        tagsRoot);
    std::unordered_map<std::int64_t, std::string> keywords;
    try {
        database.query("SELECT place_id, keyword FROM moz_keywords ORDER BY keyword", [&](sqlite3_stmt* row) {
            std::string& list = keywords[sqlite3_column_int64(row, 0)];
            list += (list.empty() ? "" : ", ") + textColumn(row, 1);
        });
    } catch (const Error&) {
        // Databases of Firefox before version 39 keep keywords another way; their bookmarks
        // come without them.
        keywords.clear();
    }
    for (const auto& [place, list] : tags)
        places.descriptions[place] = "Tags: " + list;
    for (const auto& [place, list] : keywords) {
        std::string& description = places.descriptions[place];
        description += (description.empty() ? "Keyword: " : "; Keyword: ") + list;
    }
}

Places readPlaces(const fs::path& copy, const fs::path& original)
{
    PlacesDatabase database(copy, original);
    Places places;
    std::unordered_map<std::string, std::int64_t> rootIds;
    database.query("SELECT guid, id FROM moz_bookmarks WHERE parent = (SELECT id FROM moz_bookmarks WHERE guid = "
                   "'root________')",
                   [&](sqlite3_stmt* row) { rootIds[textColumn(row, 0)] = sqlite3_column_int64(row, 1); });
    for (const auto& [guid, name] : kRoots)
        if (const auto it = rootIds.find(std::string(guid)); it != rootIds.end())
            places.roots.emplace_back(it->second, name);
    const auto tagsRoot = rootIds.find(std::string(kTagsRoot));
    if (tagsRoot != rootIds.end())
        readTagsAndKeywords(database, tagsRoot->second, places);
    std::int64_t lastParent = 0;
    database.query(
        "SELECT b.id, b.type, b.parent, b.fk, coalesce(nullif(b.title, ''), p.title), b.dateAdded, "
        "p.last_visit_date, p.url FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
        "ORDER BY b.parent, b.position, b.id",
        [&](sqlite3_stmt* row) {
            Entry entry{.id = sqlite3_column_int64(row, 0),
                        .type = sqlite3_column_int(row, 1),
                        .place = sqlite3_column_int64(row, 3),
                        .title = textColumn(row, 4),
                        .added = prTimeDate(row, 5),
                        .visited = prTimeDate(row, 6),
                        .address = textColumn(row, 7),
                        .hasAddress = sqlite3_column_type(row, 7) != SQLITE_NULL};
            const std::int64_t parent = sqlite3_column_int64(row, 2);
            if (places.entries.empty() || parent != lastParent)
                places.children[parent] = {places.entries.size(), places.entries.size()};
            lastParent = parent;
            ++places.children[parent].second;
            places.bookmarks += entry.type == kBookmark ? 1 : 0;
            places.entries.push_back(std::move(entry));
        });
    return places;
}

// Copies the database and its log into the folder until two looks at the originals find them
// unchanged around the copy.
fs::path copyDatabase(const fs::path& database, const fs::path& folder)
{
    const fs::path log = database.string() + "-wal";
    const fs::path copy = folder / "places.sqlite";
    for (int attempt = 1;; ++attempt) {
        const FileStamp databaseBefore = fileStamp(database);
        const FileStamp logBefore = fileStamp(log);
        std::error_code error;
        fs::remove(copy.string() + "-wal", error);
        if (!fs::copy_file(database, copy, fs::copy_options::overwrite_existing, error))
            throw cannotOpenFileError(database, error.message());
        if (fs::exists(log) && !fs::copy_file(log, copy.string() + "-wal", fs::copy_options::overwrite_existing, error))
            throw cannotOpenFileError(log, error.message());
        if ((fileStamp(database) == databaseBefore && fileStamp(log) == logBefore) || attempt == kCopyAttempts)
            return copy;
    }
}

class PlacesReader {
public:
    PlacesReader(const Places& places, ImportSink& sink) : m_places(places), m_sink(sink) {}

    ImportCounts read()
    {
        for (const auto& [id, name] : m_places.roots)
            if (m_places.children.contains(id))
                readFolder(id, name);
        return m_counts;
    }

private:
    // The folder and everything below it, without recursion; a folder met a second time (a
    // damaged database can make a loop) is skipped.
    void readFolder(std::int64_t id, std::string_view name)
    {
        struct Open {
            std::size_t next;
            std::size_t end;
        };
        std::vector<Open> open;
        const auto enter = [&](std::int64_t folder, std::string_view title) {
            m_sink.beginFolder(title);
            ++m_counts.folders;
            m_seen.insert(folder);
            const auto range = m_places.children.find(folder);
            open.push_back(range == m_places.children.end() ? Open{0, 0} : Open{range->second.first, range->second.second});
        };
        enter(id, name);
        while (!open.empty()) {
            if (open.back().next == open.back().end) {
                open.pop_back();
                m_sink.endFolder();
                continue;
            }
            const Entry& entry = m_places.entries[open.back().next++];
            if (entry.type == kFolder && !m_seen.contains(entry.id))
                enter(entry.id, entry.title);
            else if (entry.type == kBookmark)
                readBookmark(entry);
            else if (entry.type != kSeparator)
                m_counts.skip(SkipReason::UnknownEntry);
        }
    }

    void readBookmark(const Entry& entry)
    {
        const std::string_view address = trimmed(entry.address);
        if (!entry.hasAddress || address.empty()) {
            m_counts.skip(SkipReason::NoAddress);
        } else if (address.starts_with("place:")) {
            m_counts.skip(SkipReason::NotWebAddress);
        } else {
            const auto description = m_places.descriptions.find(entry.place);
            m_sink.addLink(entry.title, address,
                           description == m_places.descriptions.end() ? std::string_view() : description->second,
                           {.added = entry.added, .visited = entry.visited});
            ++m_counts.links;
        }
        if (++m_done % 1024 == 0)
            m_sink.progress(m_done, m_places.bookmarks);
    }

    const Places& m_places;
    ImportSink& m_sink;
    ImportCounts m_counts;
    std::unordered_set<std::int64_t> m_seen;
    std::uint64_t m_done = 0;
};

} // namespace

ImportCounts ImportFirefoxPlaces(const fs::path& database, ImportSink& sink)
{
    if (!fs::is_regular_file(database))
        throw cannotOpenFileError(database, "The file does not exist.");
    Places places;
    {
        const TemporaryDirectory folder("velloria-places");
        places = readPlaces(copyDatabase(database, folder.path()), database);
    }
    return PlacesReader(places, sink).read();
}

} // namespace velloria
