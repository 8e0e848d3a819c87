#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace velloria {

class Library;

// One link of the library where a reading of the whole library found it, its columns in the
// bytes of its folder's file as LibraryLinks holds them.
struct LibraryLink {
    std::size_t folder = 0; // the folder's index in the tree
    std::size_t row = 0;    // its row in the folder's working link file
    LinkRecordView link;
    bool writable = true; // false for a link of a file read only up to a damaged line
};

// Every link of the library in tree order and, within a folder, in the order of its working
// link file, read once. A folder whose file is damaged gives the links before the damage, which
// are not to be deleted (that would rewrite the file without the rest); a folder whose file
// cannot be read gives none. Both are named in problems, one line each ("folder: reason").
struct LibraryLinks {
    LibraryLinks() = default;
    LibraryLinks(LibraryLinks&&) = default;
    LibraryLinks& operator=(LibraryLinks&&) = default;
    LibraryLinks(const LibraryLinks&) = delete; // the links point into these files' bytes
    LibraryLinks& operator=(const LibraryLinks&) = delete;

    std::vector<std::unique_ptr<const std::string>> files; // the bytes of each file read
    std::vector<LibraryLink> links;
    std::vector<std::string> problems;
};

// The links of the folders first to end (indexes into the tree; a subtree is such a range), or
// of the whole library.
LibraryLinks readLibraryLinks(const Library& library, std::size_t first, std::size_t end);
inline LibraryLinks readLibraryLinks(const Library& library)
{
    return readLibraryLinks(library, 0, static_cast<std::size_t>(-1));
}

// Takes the links marked gone out of links, as deleting them from their files has: the later
// rows of each folder move up. Returns the former index of each link kept.
std::vector<std::size_t> dropLinks(std::vector<LibraryLink>& links, const std::vector<bool>& gone);

} // namespace velloria
