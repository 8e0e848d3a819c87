#include "store/FolderNames.h"

#include "base/Text.h"
#include "base/TextLines.h"
#include "store/FolderTree.h"

#include <algorithm>
#include <unordered_set>

namespace velloria {

namespace {

bool isForbidden(char c)
{
    return kForbiddenNameCharacters.find(c) != std::string_view::npos;
}

} // namespace

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string_view shortened(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string cleanName(std::string_view typed)
{
    std::string name;
    name.reserve(typed.size());
    for (char c : typed)
        if (!isForbidden(c))
            name += c;
    return std::string(trimmed(name));
}

std::string shortenedWithRoomForSuffix(std::string_view name)
{
    return std::string(trimmed(shortened(name, kMaxFolderNameBytes - 8)));
}

std::string safeFolderName(std::string_view raw)
{
    std::string base = cleanName(raw);
    std::replace_if(base.begin(), base.end(), isControl, ' ');
    base = shortenedWithRoomForSuffix(base);
    if (base.empty() || base == "." || base == "..")
        base = kFallbackFolderName;
    return base;
}

bool isUsableFileStem(std::string_view name)
{
    return name.size() <= kMaxFolderNameBytes
        && std::none_of(name.begin(), name.end(), [](char c) { return isForbidden(c) || isControl(c); });
}

std::string uniqueName(std::string_view base, const std::function<bool(std::string_view)>& taken)
{
    if (!taken(base))
        return std::string(base);
    for (unsigned long n = 1;; ++n) {
        std::string candidate = std::string(base) + '_' + std::to_string(n);
        if (!taken(candidate))
            return candidate;
    }
}

std::string UniqueNames::takeSuffixed(std::string_view base)
{
    unsigned long& suffix = m_lastSuffix[foldCase(base)];
    std::string name;
    do {
        name = std::string(base);
        name.append("_").append(std::to_string(++suffix));
    } while (!tryTake(name));
    return name;
}

std::vector<std::pair<std::string, std::string>> repairFolderNames(std::vector<TFolderRecord>& records)
{
    std::vector<std::pair<std::string, std::string>> repaired;
    std::unordered_set<std::string> foldedNames;
    for (const auto& record : records)
        if (isUsableFileStem(record.Name))
            foldedNames.insert(foldCase(record.Name));
    for (auto& record : records) {
        if (isUsableFileStem(record.Name))
            continue;
        const std::string base = safeFolderName(record.Name);
        std::string name = uniqueName(base, [&](std::string_view candidate) {
            return foldedNames.contains(foldCase(candidate));
        });
        foldedNames.insert(foldCase(name));
        repaired.emplace_back(record.Name, name);
        record.Name = std::move(name);
    }
    return repaired;
}

} // namespace velloria
