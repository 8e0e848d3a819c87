#include "support/TempHome.h"

#include "support/LibraryFiles.h"

#include <cstdlib>
#include <stdexcept>

namespace velloria::test {

namespace fs = std::filesystem;

TempHome::TempHome()
{
    std::string pattern = (fs::temp_directory_path() / "velloria-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    m_path = pattern;
}

TempHome::~TempHome()
{
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

UserDirectories::UserDirectories(const fs::path& home)
{
    for (const auto& [name, value] : {std::pair{"HOME", home}, std::pair{"XDG_CONFIG_HOME", home / ".config"}}) {
        const char* old = std::getenv(name);
        m_old[name] = old ? std::optional<std::string>(old) : std::nullopt;
        setenv(name, value.c_str(), 1);
    }
}

UserDirectories::~UserDirectories()
{
    for (const auto& [name, old] : m_old)
        old ? setenv(name.c_str(), old->c_str(), 1) : unsetenv(name.c_str());
}

void TempHome::makeLibraryDirectories() const
{
    fs::create_directories(links());
}

void TempHome::write(const std::string& relativePath, std::string_view bytes) const
{
    writeBytes(refLib() / relativePath, bytes);
}

std::string TempHome::read(const std::string& relativePath) const
{
    return readBytes(refLib() / relativePath);
}

bool TempHome::exists(const std::string& relativePath) const
{
    return fs::exists(refLib() / relativePath);
}

std::map<std::string, std::string> TempHome::snapshot() const
{
    std::map<std::string, std::string> files;
    if (!fs::exists(refLib()))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(refLib()))
        if (entry.is_regular_file()) {
            const std::string relative = fs::relative(entry.path(), refLib()).string();
            files[relative] = read(relative);
        }
    return files;
}

std::string crlf(std::initializer_list<std::string_view> lines)
{
    std::string bytes;
    for (std::string_view line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace velloria::test
