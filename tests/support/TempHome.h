#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velloria::test {

// A fresh home directory for one test, removed afterwards, with helpers to put files into its
// library and read them back as bytes.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path refLib() const { return m_path / "RefLib"; }
    std::filesystem::path links() const { return refLib() / "Links"; }

    // Creates RefLib and RefLib/Links.
    void makeLibraryDirectories() const;
    // Writes bytes to a path relative to RefLib, creating directories.
    void write(const std::string& relativePath, std::string_view bytes) const;
    // The bytes of a file relative to RefLib; "<missing>" when it does not exist.
    std::string read(const std::string& relativePath) const;
    bool exists(const std::string& relativePath) const;
    // Every file under RefLib (relative path -> bytes), for whole-library comparisons.
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path m_path;
};

// The user's home and configuration directory ($HOME, $XDG_CONFIG_HOME) set to a directory
// for as long as the object lives, for the code that looks for the browsers' profiles.
class UserDirectories {
public:
    explicit UserDirectories(const std::filesystem::path& home);
    ~UserDirectories();
    UserDirectories(const UserDirectories&) = delete;
    UserDirectories& operator=(const UserDirectories&) = delete;

private:
    std::map<std::string, std::optional<std::string>> m_old;
};

// Lines joined with CR LF after each, the way the library files end their lines.
std::string crlf(std::initializer_list<std::string_view> lines);

} // namespace velloria::test
