#pragma once

#include "base/Text.h"

#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velloria {

struct TFolderRecord;

// A folder name is also the stem of a file name ("Links/<name>.~wnl"), so its length is bounded
// by the file system's 255 bytes for a name, less the longest extension.
inline constexpr std::size_t kMaxFolderNameBytes = 250;

// The nine characters that names of folders and links never hold.
inline constexpr std::string_view kForbiddenNameCharacters = "\\/:*?\"<>|";

// A control character (below 0x20, or DEL).
bool isControl(char c);

// The text cut to at most limit bytes without splitting a UTF-8 sequence.
std::string_view shortened(std::string_view text, std::size_t limit);

// A name shortened (and trimmed) so that a "_n" suffix that makes it unique still fits within the
// limit.
std::string shortenedWithRoomForSuffix(std::string_view name);

// A name as typed, cleaned: the nine characters removed, then trimmed.
std::string cleanName(std::string_view typed);

// The name a folder gets when nothing of its own name is left.
inline constexpr std::string_view kFallbackFolderName = "Folder";

// A name from a file (a hand-edited tree file, an imported bookmark file) made a safe file stem:
// cleaned like a typed name, control characters as blanks, shortened with room for a "_n"
// suffix; the fallback name when nothing is left.
std::string safeFolderName(std::string_view raw);

// True when the name can be used as it stands as a file stem in the links directory: none of
// the nine characters, no control character, not too long.
bool isUsableFileStem(std::string_view name);

// base itself when taken(base) is false, otherwise base + "_" + n with the first n = 1, 2, ...
// that is not taken.
std::string uniqueName(std::string_view base, const std::function<bool(std::string_view)>& taken);

// A growing set of names that are unique without regard to case, for making many names unique
// at once (an import, an export directory). Each base name remembers its last suffix, so a
// thousand equal names cost no more than a thousand different ones; names only ever become
// taken, so no smaller suffix is free.
class UniqueNames {
public:
    void add(std::string_view name) { m_taken.insert(foldCase(name)); }
    // Takes the name when it is free.
    bool tryTake(std::string_view name) { return m_taken.insert(foldCase(name)).second; }
    // Takes base + "_" + n with the first free n.
    std::string takeSuffixed(std::string_view base);
    // Takes base itself when free, otherwise as takeSuffixed.
    std::string take(std::string_view base) { return tryTake(base) ? std::string(base) : takeSuffixed(base); }

private:
    std::unordered_set<std::string> m_taken;
    std::unordered_map<std::string, unsigned long> m_lastSuffix;
};

// Makes every folder name that cannot be a file stem (from a hand-edited tree file) usable:
// cleaned, shortened, and made unique without regard to case. Returns the (old, new) pairs.
std::vector<std::pair<std::string, std::string>> repairFolderNames(std::vector<TFolderRecord>& records);

} // namespace velloria
