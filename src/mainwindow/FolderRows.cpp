#include "mainwindow/FolderRows.h"

#include "platform/FileIO.h"
#include "store/Library.h"

namespace velloria {

FolderRows folderRows(const Library& library, std::string_view name)
{
    FolderRows rows;
    if (library.linkListHolds(name)) {
        rows = {.inList = true, .usable = !library.linkListReadInPart() && !library.linkListUnread(),
                .links = library.linkList(),
                .descriptions = library.linkDescriptions()};
    } else if (auto bytes = readFileIfExists(library.paths().linkFilePath(name, kWorkingLinkExt))) {
        LinkFileParse parse = parseLinkFile(*bytes);
        rows = {.usable = !parse.error, .links = std::move(parse.links), .descriptions = std::move(parse.descriptions)};
    }
    rows.descriptions.resize(rows.links.size());
    return rows;
}

std::size_t findLinkRow(const TLinkList& links, const LinkRecordView& link, std::size_t row, const std::vector<bool>& taken)
{
    if (row < links.size() && !taken[row] && link == links[row])
        return row;
    for (std::size_t i = 0; i < links.size(); ++i)
        if (!taken[i] && link == links[i])
            return i;
    return static_cast<std::size_t>(-1);
}

} // namespace velloria
