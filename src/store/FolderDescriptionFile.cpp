#include "store/FolderDescriptionFile.h"

#include "base/TextLines.h"

namespace velloria {

std::vector<DescriptionPair> parseFolderDescriptions(std::string_view bytes)
{
    const auto lines = splitLines(bytes);
    std::vector<DescriptionPair> pairs;
    pairs.reserve(lines.size() / 2 + 1);
    for (std::size_t i = 0; i < lines.size(); i += 2)
        pairs.push_back({std::string(lines[i]), i + 1 < lines.size() ? std::string(lines[i + 1]) : std::string()});
    return pairs;
}

std::string writeFolderDescriptions(const std::vector<DescriptionPair>& pairs)
{
    LineWriter writer;
    for (const auto& pair : pairs) {
        writer.line(pair.name);
        writer.line(pair.description);
    }
    return writer.take();
}

std::optional<std::string> findFolderDescription(std::string_view bytes, std::string_view name)
{
    const auto lines = splitLines(bytes);
    std::optional<std::string> found;
    for (std::size_t i = 0; i < lines.size(); i += 2)
        if (lines[i] == name)
            found = i + 1 < lines.size() ? std::string(lines[i + 1]) : std::string();
    return found;
}

std::unordered_map<std::string, std::string> lastFolderDescriptions(std::string_view bytes)
{
    std::unordered_map<std::string, std::string> descriptions;
    for (auto& pair : parseFolderDescriptions(bytes))
        descriptions.insert_or_assign(std::move(pair.name), std::move(pair.description));
    return descriptions;
}

} // namespace velloria
