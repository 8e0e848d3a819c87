#pragma once

#include "store/FolderTree.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The folder tree file (folders.wnf, folders.~wnf): one line per folder in pre-order, the
// level as that many leading TABs, then the name.

struct FolderTreeParse {
    std::vector<TFolderRecord> records; // the folders placed, also when reading stopped
    std::optional<std::string> error;   // "Invalid level (L) for item "name"" when it stopped
};

// Leading TABs and blanks each count one level; the rest of the line is the name. A level more
// than one deeper than the previous folder's stops the reading.
FolderTreeParse parseFolderTree(std::string_view bytes);

std::string writeFolderTree(const std::vector<TFolderRecord>& records);

} // namespace velloria
