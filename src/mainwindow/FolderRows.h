#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class Library;

// A folder's rows as a change over several folders (deleting duplicates, updating the addresses
// of moved links) rewrites them: the list's when the list shows the folder, otherwise its working
// link file's (none when it has none). Not usable when the file is damaged or could not be read:
// writing it would cut off what was not read.
struct FolderRows {
    bool inList = false;
    bool usable = true;
    TLinkList links;
    std::vector<std::string> descriptions;
};
FolderRows folderRows(const Library& library, std::string_view name);

// The row holding the link: the given row when it does, else the first such row not taken; npos
// when none does.
std::size_t findLinkRow(const TLinkList& links, const LinkRecordView& link, std::size_t row, const std::vector<bool>& taken);

} // namespace velloria
