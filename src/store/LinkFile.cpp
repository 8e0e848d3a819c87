#include "store/LinkFile.h"

#include "base/Error.h"
#include "base/TextLines.h"

#include <algorithm>

namespace velloria {

namespace {

template <typename Record> auto* columnOf(Record& link, int column)
{
    switch (column) {
    case 0: return &link.Address;
    case 1: return &link.LastVisit;
    case 2: return &link.AddDate;
    default: return static_cast<decltype(&link.Address)>(nullptr);
    }
}

// The one reading of a link file, into values of their own (LinkFileParse) or into parts of the
// bytes (LinkFileView).
template <typename Result> Result readLinkBytes(std::string_view bytes)
{
    using Text = decltype(Result{}.links.front().Title);
    Result result;
    std::vector<int> filledColumns; // per row, how many of its three columns have a value
    std::size_t completed = 0;      // the row that the next column value goes to
    const std::size_t expectedRows = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) / 5 + 1;
    result.links.reserve(expectedRows);
    result.descriptions.reserve(expectedRows);
    filledColumns.reserve(expectedRows);
    forEachLine(bytes, [&](std::string_view line) {
        if (result.error)
            return;
        if (line.empty()) {
            ++result.skippedLines;
            return;
        }
        const char code = line[0];
        if (code < '0' || code > '9') {
            result.error = invalidIntegerError(line.substr(0, 1)).what();
            return;
        }
        const std::string_view value = line.size() > 2 ? line.substr(2) : std::string_view();
        switch (code) {
        case '0':
            result.links.push_back({.Title = Text(value)});
            filledColumns.push_back(0);
            break;
        case '1':
        case '2':
        case '3':
            if (completed < result.links.size() && filledColumns[completed] < 3)
                *columnOf(result.links[completed], filledColumns[completed]++) = value;
            else
                ++result.skippedLines;
            break;
        case '4':
            result.descriptions.emplace_back(value);
            ++completed;
            break;
        default:
            ++result.skippedLines;
        }
    });
    return result;
}

} // namespace

LinkFileParse parseLinkFile(std::string_view bytes)
{
    return readLinkBytes<LinkFileParse>(bytes);
}

LinkFileView viewLinkFile(std::string_view bytes)
{
    return readLinkBytes<LinkFileView>(bytes);
}

std::string writeLinkFile(const TLinkList& links, const std::vector<std::string>& descriptions)
{
    LineWriter writer;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const TLinkRecord& link = links[i];
        writer.line("0 ", link.Title);
        writer.line("1 ", link.Address);
        writer.line("2 ", link.LastVisit);
        writer.line("3 ", link.AddDate);
        writer.line("4 ", i < descriptions.size() ? std::string_view(descriptions[i]) : std::string_view());
    }
    return writer.take();
}

} // namespace velloria
