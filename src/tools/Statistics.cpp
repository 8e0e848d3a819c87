#include "tools/Statistics.h"

#include "base/Error.h"
#include "platform/FileIO.h"
#include "platform/SystemInfo.h"
#include "store/Library.h"

#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloria {

namespace {

// The size of a file that exists and can be opened; 0 otherwise.
std::uint64_t sizeOfReadableFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return known ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::size_t countLinks(const std::string& bytes)
{
    // One line starting with "0" per link.
    std::size_t count = bytes.starts_with('0') ? 1 : 0;
    for (std::size_t at = bytes.find_first_of("\r\n"); at != std::string::npos; at = bytes.find_first_of("\r\n", at + 1))
        if (at + 1 < bytes.size() && bytes[at + 1] == '0')
            ++count;
    return count;
}

std::string grouped(std::string digits, std::string_view separator)
{
    if (separator.empty())
        return digits;
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, separator);
    return digits;
}

} // namespace

LibraryStatistics computeStatistics(const Library& library)
{
    LibraryStatistics statistics;
    const TFolderTree& tree = library.folderTree();
    statistics.folders = tree.count();
    std::size_t links = 0;
    try {
        for (const TFolderRecord& folder : tree.records())
            if (const auto bytes = readFileIfExists(library.paths().linkFilePath(folder.Name, kWorkingLinkExt)))
                links += countLinks(*bytes);
    } catch (const Error& error) {
        statistics.error = error.what();
        return statistics;
    }
    statistics.links = links;
    std::uint64_t total = 0;
    for (const TFolderRecord& folder : tree.records())
        for (std::string_view ext : {kWorkingLinkExt, kSavedLinkExt})
            total += sizeOfReadableFile(library.paths().linkFilePath(folder.Name, ext));
    for (std::string_view file : {kWorkingTreeFile, kSavedTreeFile, kWorkingDescriptionFile, kSavedDescriptionFile,
                                  kFolderStateFile})
        total += sizeOfReadableFile(library.paths().libraryFile(file));
    statistics.databaseBytes = total;
    statistics.freeBytes = freeSpaceBytes(library.paths().home());
    return statistics;
}

std::string formatKilobytes(double bytes, std::string_view thousandsSeparator)
{
    const double kilobytes = bytes / 1024.0;
    const double rounded = std::round(kilobytes); // halves away from zero
    const std::string digits = std::to_string(static_cast<long long>(std::fabs(rounded)));
    std::string text = kilobytes < 0 ? "-" : "";
    text.append(grouped(digits, thousandsSeparator));
    return text;
}

} // namespace velloria
