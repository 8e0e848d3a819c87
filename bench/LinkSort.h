#pragma once

#include "store/LinkFile.h"

#include <string>
#include <vector>

namespace velloria::bench {

// Stands for the link list's sort by title until the program has its own. Titles compare with
// A to Z folded to a to z and every other byte as it is; equal titles keep their order. The
// descriptions, parallel to the rows, move with them; rows without one get the empty one, as
// when the list is saved.
void sortLinksByTitle(TLinkList& links, std::vector<std::string>& descriptions);

// The order that sortLinksByTitle makes.
bool titleLess(const TLinkRecord& a, const TLinkRecord& b);

} // namespace velloria::bench
