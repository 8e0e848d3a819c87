#include "support/BrowserStores.h"

#include <sqlite3.h>

#include <cstdarg>
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

// The SQL of the format with its values filled in: %Q a quoted text, %lld a number, %s as it is.
std::string sql(const char* format, ...)
{
    va_list values;
    va_start(values, format);
    char* text = sqlite3_vmprintf(format, values);
    va_end(values);
    std::string result(text);
    sqlite3_free(text);
    return result;
}

// A date in microseconds, or NULL for 0 (no date), as Firefox keeps it.
std::string microsecondsOrNull(std::int64_t seconds)
{
    return seconds == 0 ? "NULL" : std::to_string(seconds * kMicroseconds);
}

} // namespace

PlacesFile::PlacesFile(const std::filesystem::path& path, Opened)
{
    if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.string());
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

std::int64_t PlacesFile::number(const std::string& query)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, query.c_str(), -1, &statement, nullptr);
    const std::int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    return value;
}

std::int64_t PlacesFile::insertBookmark(int type, std::int64_t parent, std::int64_t fk, std::string_view title,
                                        std::int64_t added)
{
    const auto known = m_positions.find(parent);
    const std::int64_t position = known == m_positions.end()
                                      ? number(sql("SELECT count(*) FROM moz_bookmarks WHERE parent = %lld", parent))
                                      : known->second;
    m_positions[parent] = position + 1;
    const std::string date = microsecondsOrNull(added);
    exec(sql("INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, lastModified, guid) "
             "VALUES (%d, %s, %lld, %lld, %Q, %s, %s, 'g%d')",
             type, fk == 0 ? "NULL" : std::to_string(fk).c_str(), parent, position, std::string(title).c_str(),
             date.c_str(), date.c_str(), sqlite3_total_changes(m_db)));
    return sqlite3_last_insert_rowid(m_db);
}

std::int64_t PlacesFile::folder(std::int64_t parent, std::string_view title, std::int64_t added)
{
    return insertBookmark(2, parent, 0, title, added);
}

std::int64_t PlacesFile::bookmark(std::int64_t parent, std::string_view title, std::string_view url,
                                  std::int64_t added, std::int64_t visited)
{
    exec(sql("INSERT INTO moz_places (url, title, last_visit_date, guid, url_hash) VALUES (%Q, %Q, %s, 'p%d', 0)",
             std::string(url).c_str(), ("page title of " + std::string(title)).c_str(),
             microsecondsOrNull(visited).c_str(), sqlite3_total_changes(m_db)));
    return insertBookmark(1, parent, sqlite3_last_insert_rowid(m_db), title, added);
}

void PlacesFile::separator(std::int64_t parent)
{
    insertBookmark(3, parent, 0, "", 0);
}

void PlacesFile::tag(std::int64_t bookmarkId, std::string_view tag)
{
    // A tag is a folder below the tags root holding a bookmark of the tagged place without title.
    const std::string name(tag);
    std::int64_t tagFolder = number(sql("SELECT id FROM moz_bookmarks WHERE parent = 4 AND title = %Q", name.c_str()));
    if (tagFolder == 0)
        tagFolder = folder(kTags, tag);
    insertBookmark(1, tagFolder, number(sql("SELECT fk FROM moz_bookmarks WHERE id = %lld", bookmarkId)), "", 0);
}

void PlacesFile::keyword(std::int64_t bookmarkId, std::string_view keyword)
{
    exec(sql("INSERT INTO moz_keywords (keyword, place_id) SELECT %Q, fk FROM moz_bookmarks WHERE id = %lld",
             std::string(keyword).c_str(), bookmarkId));
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

} // namespace velloria::test
