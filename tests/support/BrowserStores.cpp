#include "support/BrowserStores.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

namespace velloria::test {

namespace {

// Firefox's own tables for bookmarks, with every column it gives them.
constexpr const char* kSchema = R"sql(
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
    frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
    recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host));
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
    visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
    frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL,
    url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT, site_name TEXT,
    origin_id INTEGER REFERENCES moz_origins(id), recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
    recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
    position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
    lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,
    syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,
    post_data TEXT);
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
CREATE UNIQUE INDEX moz_keywords_placepostdata_uniqueindex ON moz_keywords (place_id, post_data);
INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES
    (1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'),
    (3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'),
    (5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');
)sql";

constexpr std::int64_t kMicroseconds = 1000000;

void check(sqlite3* db, int result, const std::string& what)
{
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW)
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

// Runs one statement with its parameters bound in order (text or integer).
struct Parameter {
    bool isText;
    std::string_view text;
    std::int64_t number;
    bool isNull = false;
    // 0 stands for "none" (no place, no date): NULL in the database.
    static Parameter orNull(std::int64_t n)
    {
        Parameter p(n);
        p.isNull = n == 0;
        return p;
    }
    Parameter(std::string_view t) : isText(true), text(t), number(0) {}
    Parameter(const char* t) : isText(true), text(t), number(0) {}
    Parameter(const std::string& t) : isText(true), text(t), number(0) {}
    Parameter(std::int64_t n) : isText(false), text(), number(n) {}
};

void run(sqlite3* db, const char* sql, std::initializer_list<Parameter> parameters)
{
    sqlite3_stmt* statement = nullptr;
    check(db, sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), sql);
    int index = 1;
    for (const Parameter& p : parameters) {
        if (p.isText)
            sqlite3_bind_text(statement, index++, p.text.data(), static_cast<int>(p.text.size()), SQLITE_TRANSIENT);
        else if (p.isNull)
            sqlite3_bind_null(statement, index++);
        else
            sqlite3_bind_int64(statement, index++, p.number);
    }
    const int result = sqlite3_step(statement);
    sqlite3_finalize(statement);
    check(db, result, sql);
}

std::int64_t nextPosition(sqlite3* db, std::int64_t parent)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM moz_bookmarks WHERE parent = ?1", -1, &statement, nullptr);
    sqlite3_bind_int64(statement, 1, parent);
    sqlite3_step(statement);
    const std::int64_t position = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return position;
}

std::string chromiumTime(std::int64_t seconds)
{
    return seconds == 0 ? "0" : std::to_string((seconds + 11644473600LL) * kMicroseconds);
}

} // namespace

PlacesFile::PlacesFile(const std::filesystem::path& path, Opened)
{
    check(m_db, sqlite3_open(path.c_str(), &m_db), "open " + path.string());
}

PlacesFile::PlacesFile(const std::filesystem::path& path) : PlacesFile(path, Opened{})
{
    exec("PRAGMA journal_mode=WAL");
    exec(kSchema);
}

PlacesFile PlacesFile::open(const std::filesystem::path& path)
{
    return PlacesFile(path, Opened{});
}

PlacesFile::PlacesFile(PlacesFile&& other) noexcept : m_db(other.m_db), m_positions(std::move(other.m_positions))
{
    other.m_db = nullptr;
}

PlacesFile::~PlacesFile()
{
    if (m_db)
        sqlite3_close(m_db);
}

void PlacesFile::exec(const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

void PlacesFile::begin()
{
    exec("BEGIN");
}

void PlacesFile::commit()
{
    exec("COMMIT");
}

std::int64_t PlacesFile::insertBookmark(int type, std::int64_t parent, std::int64_t fk, std::string_view title,
                                        std::int64_t added)
{
    const auto known = m_positions.find(parent);
    const std::int64_t position = known == m_positions.end() ? nextPosition(m_db, parent) : known->second;
    m_positions[parent] = position + 1;
    const std::string guid = "g" + std::to_string(sqlite3_total_changes(m_db)) + "_" + std::to_string(parent);
    run(m_db,
        "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, lastModified, guid) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?6, ?7)",
        {static_cast<std::int64_t>(type), Parameter::orNull(fk), parent, position, title,
         Parameter::orNull(added * kMicroseconds), guid});
    return sqlite3_last_insert_rowid(m_db);
}

std::int64_t PlacesFile::folder(std::int64_t parent, std::string_view title, std::int64_t added)
{
    return insertBookmark(2, parent, 0, title, added);
}

std::int64_t PlacesFile::bookmark(std::int64_t parent, std::string_view title, std::string_view url,
                                  std::int64_t added, std::int64_t visited)
{
    run(m_db, "INSERT INTO moz_places (url, title, last_visit_date, guid, url_hash) VALUES (?1, ?2, ?3, ?4, 0)",
        {url, "page title of " + std::string(title), Parameter::orNull(visited * kMicroseconds),
         "p" + std::to_string(sqlite3_total_changes(m_db))});
    return insertBookmark(1, parent, sqlite3_last_insert_rowid(m_db), title, added);
}

void PlacesFile::separator(std::int64_t parent)
{
    insertBookmark(3, parent, 0, "", 0);
}

std::int64_t PlacesFile::placeOf(std::int64_t bookmarkId)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT fk FROM moz_bookmarks WHERE id = ?1", -1, &statement, nullptr);
    sqlite3_bind_int64(statement, 1, bookmarkId);
    sqlite3_step(statement);
    const std::int64_t place = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return place;
}

void PlacesFile::tag(std::int64_t bookmarkId, std::string_view tag)
{
    // A tag is a folder below the tags root holding a bookmark of the tagged place without title.
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT id FROM moz_bookmarks WHERE parent = 4 AND title = ?1", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, tag.data(), static_cast<int>(tag.size()), SQLITE_TRANSIENT);
    const bool exists = sqlite3_step(statement) == SQLITE_ROW;
    const std::int64_t existing = exists ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    const std::int64_t tagFolder = exists ? existing : folder(kTags, tag);
    insertBookmark(1, tagFolder, placeOf(bookmarkId), "", 0);
}

void PlacesFile::keyword(std::int64_t bookmarkId, std::string_view keyword)
{
    run(m_db, "INSERT INTO moz_keywords (keyword, place_id) VALUES (?1, ?2)", {keyword, placeOf(bookmarkId)});
}

void PlacesFile::holdLikeARunningBrowser()
{
    exec("PRAGMA wal_autocheckpoint=0");
    exec("PRAGMA locking_mode=EXCLUSIVE");
    // The lock is taken by the first read and write after the change of mode.
    exec("BEGIN EXCLUSIVE; COMMIT");
}

bool isLockedByAnother(const std::filesystem::path& database)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const int result = sqlite3_exec(db, "SELECT count(*) FROM moz_bookmarks", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return result == SQLITE_BUSY;
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

void BookmarksJson::openRoot(std::string_view key, std::string_view name)
{
    m_roots.reserve(8);
    m_roots.emplace_back(std::string(key), Node{.name = std::string(name)});
    m_open = {&m_roots.back().second};
}

void BookmarksJson::openFolder(std::string_view name, std::int64_t added)
{
    m_open.back()->children.push_back({.name = std::string(name), .added = added});
    m_open.push_back(&m_open.back()->children.back());
}

void BookmarksJson::link(std::string_view name, std::string_view url, std::int64_t added, std::int64_t lastUsed)
{
    m_open.back()->children.push_back(
        {.folder = false, .name = std::string(name), .url = std::string(url), .added = added, .lastUsed = lastUsed});
}

void BookmarksJson::close()
{
    m_open.pop_back();
}

void BookmarksJson::write(std::string& out, const Node& node, int& id) const
{
    if (!node.folder) {
        out += "{ \"date_added\": \"" + chromiumTime(node.added) + "\", \"date_last_used\": \""
               + chromiumTime(node.lastUsed) + "\", \"guid\": \"00000000-0000-4000-a000-" + std::to_string(100000000000 + id)
               + "\", \"id\": \"" + std::to_string(id) + "\", \"meta_info\": { \"power_bookmark_meta\": \"\" }, "
               + "\"name\": " + jsonString(node.name) + ", \"type\": \"url\", \"url\": " + jsonString(node.url) + " }";
        ++id;
        return;
    }
    out += "{ \"children\": [ ";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        out += i == 0 ? "" : ", ";
        write(out, node.children[i], id);
    }
    out += " ], \"date_added\": \"" + chromiumTime(node.added) + "\", \"date_modified\": \"0\", \"id\": \""
           + std::to_string(id++) + "\", \"name\": " + jsonString(node.name) + ", \"type\": \"folder\" }";
}

std::string BookmarksJson::finish() const
{
    std::string out = "{\n   \"checksum\": \"0123456789abcdef0123456789abcdef\",\n   \"roots\": {\n";
    int id = 1;
    for (std::size_t i = 0; i < m_roots.size(); ++i) {
        out += (i == 0 ? "      " : ",\n      ") + jsonString(m_roots[i].first) + ": ";
        write(out, m_roots[i].second, id);
    }
    return out + "\n   },\n   \"version\": 1\n}\n";
}

} // namespace velloria::test
