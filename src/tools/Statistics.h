#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloria {

class Library;

// The four figures of the statistics: folders, links, the bytes of the library's files (the
// working and saved link files of every folder and the five files of the tree, descriptions and
// states; undo copies are not counted) and the free bytes of the file system holding the home.
// A link file that cannot be read stops the counting: the figures after it stay empty and the
// error is kept.
struct LibraryStatistics {
    std::optional<std::size_t> folders;
    std::optional<std::size_t> links;
    std::optional<std::uint64_t> databaseBytes;
    std::optional<long long> freeBytes; // -1 when the system cannot tell
    std::string error;
};

LibraryStatistics computeStatistics(const Library& library);

// Bytes as whole kilobytes, rounded, with the given thousands separator: 1536 bytes are "2",
// 1535 bytes "1", and -1 byte (free space unknown) "-0".
std::string formatKilobytes(double bytes, std::string_view thousandsSeparator);

} // namespace velloria
