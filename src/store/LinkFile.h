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

// The columns of a row as parts of the bytes of a link file.
struct LinkRecordView {
    std::string_view Title;
    std::string_view Address;
    std::string_view LastVisit;
    std::string_view AddDate;
    bool operator==(const LinkRecordView&) const = default;
    bool operator==(const TLinkRecord& link) const
    {
        return Title == link.Title && Address == link.Address && LastVisit == link.LastVisit && AddDate == link.AddDate;
    }
};

// A link file read as parseLinkFile reads it, its values left in the bytes, which must outlive it.
struct LinkFileView {
    std::vector<LinkRecordView> links;
    std::vector<std::string_view> descriptions;
    std::size_t skippedLines = 0;
    std::optional<std::string> error;
};
LinkFileView viewLinkFile(std::string_view bytes);

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
