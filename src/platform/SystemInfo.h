#pragma once

#include <filesystem>
#include <string>

namespace velloria {

// Free bytes for the user on the file system holding the path; -1 when the system cannot tell.
long long freeSpaceBytes(const std::filesystem::path& path);

// The thousands separator of the user's locale for numbers ("," in English, "." in German,
// nothing in the C locale).
std::string thousandsSeparator();

} // namespace velloria
