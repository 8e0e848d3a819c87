#include "platform/SystemInfo.h"

#include <locale>
#include <stdexcept>
#include <sys/statvfs.h>

namespace velloria {

long long freeSpaceBytes(const std::filesystem::path& path)
{
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0)
        return -1;
    return static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize);
}

std::string thousandsSeparator()
{
    try {
        const std::locale user("");
        const auto& punctuation = std::use_facet<std::numpunct<char>>(user);
        if (punctuation.grouping().empty())
            return "";
        return std::string(1, punctuation.thousands_sep());
    } catch (const std::runtime_error&) {
        return ""; // an unknown locale in the environment: plain numbers
    }
}

} // namespace velloria
