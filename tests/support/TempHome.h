#pragma once

#include <filesystem>
#include <map>
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

// Lines joined with CR LF after each, the way the library files end their lines.
std::string crlf(std::initializer_list<std::string_view> lines);

} // namespace velloria::test
