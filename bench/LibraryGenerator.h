#pragma once

#include "base/Clock.h"
#include "store/FolderTree.h"
#include "store/LinkFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velloria::bench {

// The shape of a generated library. The same options give the same library, byte for byte.
struct LibraryOptions {
    std::size_t folders = 2000;
    std::size_t links = 100000;
    std::size_t bigFolderLinks = 20000; // the links of the one big folder, part of links
    std::size_t archiveFolders = 100;   // the subtree of "Archive", the folder itself included
    int maxDepth = 6;                   // folder levels 0 to maxDepth - 1
    std::uint32_t seed = 2025;
};

// The day that generated libraries and the benchmarks take as today.
inline constexpr Date kBenchmarkToday{2025, 3, 14};

// The names of the two folders that benchmarks look for.
inline constexpr const char* kBigFolderName = "Big";
inline constexpr const char* kArchiveFolderName = "Archive";

// Everything about a generated library except the links themselves, which makeFolderLinks
// makes again on demand: the folders in pre-order with their states, their descriptions, and
// how many links each holds.
struct LibraryPlan {
    LibraryOptions options;
    std::vector<TFolderRecord> folders;
    std::vector<std::string> descriptions; // parallel to folders
    std::vector<std::size_t> linkCounts;   // parallel to folders
    std::size_t bigFolder = 0;
    std::size_t archiveFolder = 0;
    std::size_t selectedFolder = 0;

    std::size_t linkCount() const;
    std::size_t emptyFolderCount() const;
    int deepestLevel() const;
};

struct FolderLinks {
    TLinkList links;
    std::vector<std::string> descriptions;
};

// Throws std::invalid_argument when the options cannot be met (too few folders for the big
// folder, the archive and a few others; fewer links than the big folder holds; a depth that
// leaves the archive no room).
LibraryPlan planLibrary(const LibraryOptions& options);

// The links of one folder of the plan, the same every time.
FolderLinks makeFolderLinks(const LibraryPlan& plan, std::size_t folder);

// Writes the library into <home>/RefLib as it looks right after a save: the working files and
// the "~" generation are equal. RefLib must not exist yet.
void writeLibrary(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
