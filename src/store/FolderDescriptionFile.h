#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velloria {

// The folder description file (folddesc.wnf, folddesc.~wnf): line pairs, folder name then its
// description. A newer pair for the same name follows the older ones; the last one counts.

struct DescriptionPair {
    std::string name;
    std::string description;
    bool operator==(const DescriptionPair&) const = default;
};

// A final unpaired name line gets an empty description.
std::vector<DescriptionPair> parseFolderDescriptions(std::string_view bytes);

std::string writeFolderDescriptions(const std::vector<DescriptionPair>& pairs);

// The description of the last pair whose name equals name exactly; nullopt when none does.
std::optional<std::string> findFolderDescription(std::string_view bytes, std::string_view name);

// Every name with the description of its last pair.
std::unordered_map<std::string, std::string> lastFolderDescriptions(std::string_view bytes);

} // namespace velloria
