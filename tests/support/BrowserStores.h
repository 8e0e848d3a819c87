#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace velloria::test {

// A Firefox bookmark database made on the spot: the tables and columns Firefox keeps its
// bookmarks in, its roots, and rows added through the builder. Dates are seconds since 1970.
class PlacesFile {
public:
    static constexpr std::int64_t kMenu = 2;
    static constexpr std::int64_t kToolbar = 3;
    static constexpr std::int64_t kTags = 4;
    static constexpr std::int64_t kUnfiled = 5;
    static constexpr std::int64_t kMobile = 6;

    // Creates the database in write-ahead-log mode, as Firefox keeps it.
    explicit PlacesFile(const std::filesystem::path& path);
    // Opens an existing one.
    static PlacesFile open(const std::filesystem::path& path);
    ~PlacesFile();
    PlacesFile(PlacesFile&& other) noexcept;
    PlacesFile(const PlacesFile&) = delete;
    PlacesFile& operator=(const PlacesFile&) = delete;

    std::int64_t folder(std::int64_t parent, std::string_view title, std::int64_t added = 0);
    std::int64_t bookmark(std::int64_t parent, std::string_view title, std::string_view url, std::int64_t added = 0,
                          std::int64_t visited = 0);
    void separator(std::int64_t parent);
    void tag(std::int64_t bookmarkId, std::string_view tag);
    void keyword(std::int64_t bookmarkId, std::string_view keyword);

    // Holds the database as a running Firefox does: exclusive locking, no write-back of the
    // log until the connection closes.
    void holdLikeARunningBrowser();
    // Many rows at once in one transaction (for the large fixtures).
    void begin();
    void commit();
    void exec(const std::string& sql);

private:
    struct Opened {};
    PlacesFile(const std::filesystem::path& path, Opened);
    std::int64_t insertBookmark(int type, std::int64_t parent, std::int64_t fk, std::string_view title,
                                std::int64_t added);
    // The first column of the query's first row (0 when it has none).
    std::int64_t number(const std::string& query);

    sqlite3* m_db = nullptr;
    std::unordered_map<std::int64_t, std::int64_t> m_positions; // parent -> next position
};

// True when the database cannot be read by a connection of its own (another holds it locked).
bool isLockedByAnother(const std::filesystem::path& database);

} // namespace velloria::test
