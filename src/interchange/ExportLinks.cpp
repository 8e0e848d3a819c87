#include "interchange/Interchange.h"

#include "base/TextLines.h"
#include "base/WebAddress.h"
#include "platform/FileIO.h"
#include "store/FolderTree.h"
#include "store/Library.h"
#include "store/LinkFile.h"

#include <algorithm>

namespace velloria {

// Export scans what is saved line by line and passes over what it cannot use, where the full
// reader stops: a damaged line in the middle of a file costs no link before or after it. A line
// with code 0 starts a link with its title, the next line gives its address whatever its code,
// lines with codes 2 and 3 give its dates, and the line with code 4 that completes the link
// gives its description. Empty lines count for
// nothing, as for the full reader.
std::vector<ExportLink> parseExportLinks(std::string_view linkFileBytes)
{
    std::vector<ExportLink> links;
    links.reserve(static_cast<std::size_t>(std::count(linkFileBytes.begin(), linkFileBytes.end(), '\n')) / 5 + 1);
    std::size_t linesSinceTitle = 0; // 0: no link is open
    forEachLine(linkFileBytes, [&](std::string_view line) {
        if (line.empty())
            return;
        const std::string_view value = line.size() > 2 ? line.substr(2) : std::string_view();
        if (line[0] == '0') {
            links.push_back({.title = std::string(value)});
            linesSinceTitle = 1;
        } else if (linesSinceTitle == 1) {
            links.back().address = value;
            linesSinceTitle = 2;
        } else if (linesSinceTitle > 1 && line[0] == '2') {
            links.back().lastVisit = value;
        } else if (linesSinceTitle > 1 && line[0] == '3') {
            links.back().addDate = value;
        } else if (linesSinceTitle > 1 && line[0] == '4') {
            links.back().description = value;
            linesSinceTitle = 0;
        }
    });
    return links;
}

std::vector<ExportFolder> TreeOrder(const TFolderTree& tree)
{
    std::vector<ExportFolder> folders;
    folders.reserve(tree.count());
    for (const TFolderRecord& record : tree.records())
        folders.push_back({record.Name, record.Level});
    return folders;
}

ReadExportLinksFunction ReadExportLinks(const Library& library)
{
    return [&library](const std::string& folderName) {
        const auto bytes = readFileIfExists(library.paths().linkFilePath(folderName, kWorkingLinkExt));
        return bytes ? parseExportLinks(*bytes) : std::vector<ExportLink>();
    };
}

std::string ExportAddress(std::string_view address)
{
    if (hasScheme(address))
        return std::string(address);
    std::string written = "http://";
    written.append(address);
    return written;
}

int closingCount(const std::vector<ExportFolder>& folders, std::size_t i)
{
    const int level = folders[i].level;
    if (i + 1 >= folders.size())
        return level + 1;
    const int next = folders[i + 1].level;
    if (next > level)
        return 0;
    return level - next + 1;
}

} // namespace velloria
