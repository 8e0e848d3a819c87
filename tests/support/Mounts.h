#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velloria::test {

// A directory made unwritable for the object's life: a read-only bind mount for root, who
// ignores permission bits, the permission bits (of it and every directory below) for anyone else.
class ReadOnlyDirectory {
public:
    explicit ReadOnlyDirectory(const std::filesystem::path& root);
    ~ReadOnlyDirectory();
    ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
    ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;

    bool made() const { return m_made; }
    const std::string& reason() const { return m_reason; } // the system's reason for a refused write

private:
    std::filesystem::path m_root;
    bool m_mounted = false;
    bool m_made = false;
    std::string m_reason;
    std::vector<std::filesystem::path> m_directories;
};

// A memory file system of the given size mounted over a directory for the object's life.
class SmallDisk {
public:
    SmallDisk(const std::filesystem::path& at, std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    // Writes the file until the disk holds no more.
    static void fill(const std::filesystem::path& file);

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
};

} // namespace velloria::test
