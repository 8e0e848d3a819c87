#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// One link: the columns of a row of the link list. Its description is kept beside the rows in
// LinkDescriptions.
struct TLinkRecord {
    std::string Title;
    std::string Address;
    std::string LastVisit;
    std::string AddDate;
    bool operator==(const TLinkRecord&) const = default;
};

using TLinkList = std::vector<TLinkRecord>;

// The link file (Links/<folder>.wnl, .~wnl, .wnt): five lines per link, "0 " title, "1 "
// address, "2 " last visit, "3 " add date, "4 " description.

struct LinkFileParse {
    TLinkList links;                       // the rows read, also when reading stopped
    std::vector<std::string> descriptions; // parallel to the rows as far as the file is well formed
    std::size_t skippedLines = 0;          // empty lines, codes 5 to 9, values with no row to take them
    std::optional<std::string> error;      // "'c' is not a valid integer value" when it stopped
};

// A line is a code digit, one separator character, then the value. Code 0 starts a row; 1, 2
// and 3 fill the row's next empty column in the order they come; 4 appends a description and
// completes the row. A code that is not a digit stops the reading.
LinkFileParse parseLinkFile(std::string_view bytes);

// Rows missing a description write an empty one.
std::string writeLinkFile(const TLinkList& links, const std::vector<std::string>& descriptions);

} // namespace velloria
