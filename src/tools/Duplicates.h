#pragma once

#include "tools/LibraryLinks.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

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
