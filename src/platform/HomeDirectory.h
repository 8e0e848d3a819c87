#pragma once

#include <filesystem>

namespace velloria {

// The directory that holds the library, the preferences and the language files.
// When the program's own directory holds "RefLib" or "Tessel.cfg" it is used as it is
// (a portable installation); otherwise $XDG_DATA_HOME/velloria, by default
// ~/.local/share/velloria, created when missing.
std::filesystem::path resolveHomeDirectory(const std::filesystem::path& programDirectory);
// The same directory, not created.
std::filesystem::path homeDirectoryFor(const std::filesystem::path& programDirectory);

// The user's own home directory ($HOME), where file preferences default to.
std::filesystem::path userHomeDirectory();

// The directory of the running executable.
std::filesystem::path programDirectory();

} // namespace velloria
