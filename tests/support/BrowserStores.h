#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
    std::int64_t placeOf(std::int64_t bookmarkId);

    sqlite3* m_db = nullptr;
    std::unordered_map<std::int64_t, std::int64_t> m_positions; // parent -> next position
};

// True when the database cannot be read by a connection of its own (another holds it locked).
bool isLockedByAnother(const std::filesystem::path& database);

// A Chromium "Bookmarks" file written as the browsers write it. Dates are seconds since 1970.
class BookmarksJson {
public:
    // Roots: "bookmark_bar", "other", "synced"; a root opened makes the others closed.
    void openRoot(std::string_view key, std::string_view name);
    void openFolder(std::string_view name, std::int64_t added = 0);
    void link(std::string_view name, std::string_view url, std::int64_t added = 0, std::int64_t lastUsed = 0);
    void close(); // the folder last opened
    std::string finish() const;

private:
    struct Node {
        bool folder = true;
        std::string name;
        std::string url;
        std::int64_t added = 0;
        std::int64_t lastUsed = 0;
        std::vector<Node> children;
    };
    void write(std::string& out, const Node& node, int& id) const;
    std::vector<std::pair<std::string, Node>> m_roots;
    std::vector<Node*> m_open;
};

// The text in JSON quotes, escaped.
std::string jsonString(std::string_view text);

} // namespace velloria::test
