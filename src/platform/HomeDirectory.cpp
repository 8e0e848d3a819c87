#include "platform/HomeDirectory.h"

#include "base/Error.h"

#include <cstdlib>
#include <system_error>

namespace velloria {

namespace fs = std::filesystem;

namespace {

fs::path userDataDirectory()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
        return fs::path(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        throw Error("Cannot find the home directory: HOME is not set");
    return fs::path(home) / ".local" / "share";
}

} // namespace

fs::path homeDirectoryFor(const fs::path& programDirectory)
{
    std::error_code ec;
    if (!programDirectory.empty()
        && (fs::exists(programDirectory / "RefLib", ec) || fs::exists(programDirectory / "Tessel.cfg", ec)))
        return programDirectory;
    return userDataDirectory() / "velloria";
}

fs::path resolveHomeDirectory(const fs::path& programDirectory)
{
    const fs::path home = homeDirectoryFor(programDirectory);
    if (home == programDirectory)
        return home;
    std::error_code ec;
    fs::create_directories(home, ec);
    if (ec)
        throw cannotCreateDirectoryError(home, ec.message());
    return home;
}

fs::path userHomeDirectory()
{
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::current_path();
}

fs::path programDirectory()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path();
}

} // namespace velloria
