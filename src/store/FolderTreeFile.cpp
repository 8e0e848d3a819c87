#include "store/FolderTreeFile.h"

#include "base/Error.h"
#include "base/TextLines.h"

namespace velloria {

FolderTreeParse parseFolderTree(std::string_view bytes)
{
    FolderTreeParse result;
    const auto lines = splitLines(bytes);
    result.records.reserve(lines.size());
    for (std::string_view line : lines) {
        std::size_t indent = 0;
        while (indent < line.size() && (line[indent] == '\t' || line[indent] == ' '))
            ++indent;
        const int level = static_cast<int>(std::min<std::size_t>(indent, 1u << 30));
        std::string_view name = line.substr(indent);
        if (result.records.empty()) {
            result.records.push_back({.Name = std::string(name), .Level = 0});
            continue;
        }
        const int previous = result.records.back().Level;
        if (level > previous + 1) {
            result.error = invalidLevelError(level, name).what();
            break;
        }
        result.records.push_back({.Name = std::string(name), .Level = level});
    }
    return result;
}

std::string writeFolderTree(const std::vector<TFolderRecord>& records)
{
    LineWriter writer;
    for (const auto& record : records) {
        // Leading blanks would read back as levels, so a name cannot keep them.
        std::string name = singleLine(record.Name);
        const std::size_t start = name.find_first_not_of(" \t");
        writer.line(std::string(static_cast<std::size_t>(record.Level), '\t'),
                    start == std::string::npos ? std::string_view() : std::string_view(name).substr(start));
    }
    return writer.take();
}

} // namespace velloria
