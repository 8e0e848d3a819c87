#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class Library;

// When two links are the same link: their addresses have the same form.
//
// Exact: blanks around the address removed; an address without a scheme read with "http://" in
// front, as opening it does; for http, https and ftp addresses the scheme and host without
// letter case, the default port (:80, :443, :21) dropped, an empty path read as "/" and the
// fragment ("#...") dropped, while the path and query stay exact. Loose also takes https as http,
// drops a leading "www." of the host and one trailing "/" of the path. Any other address
// ("mailto:", "javascript:", "file:", a text with blanks) is compared exactly as trimmed. An
// empty address is the same as no other.
enum class SameLinkRule { Exact, Loose };
std::string sameLinkForm(std::string_view address, SameLinkRule rule);

// One link of the library where the duplicate search found it, its columns in the bytes of its
// folder's file as LibraryLinks holds them.
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
LibraryLinks readLibraryLinks(const Library& library);

// Links that are the same link, in tree and row order, with the one the proposal keeps: the one
// visited last; when none has a visit date, the one added first; then the first in tree order.
struct DuplicateGroup {
    std::vector<std::size_t> links; // indexes into LibraryLinks::links
    std::size_t kept = 0;           // the index into links of the link kept
};

// The groups of two or more links, in the order of their first link in the tree.
std::vector<DuplicateGroup> findDuplicates(const std::vector<LibraryLink>& links, SameLinkRule rule);

// Whether the proposal deletes the member of a group: every one but the link kept, except links
// that cannot be deleted.
bool proposedForDeletion(const DuplicateGroup& group, std::size_t member, const std::vector<LibraryLink>& links);

} // namespace velloria
