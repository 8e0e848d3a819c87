#pragma once

#include <filesystem>

namespace velloria {

// The set-up of a home directory that the program and the command-line tool share, run before
// anything else reads it: the home and its Languages directory exist, and every language file
// that Velloria ships has been put there once. The names already offered are recorded in
// "Languages/.shipped", so that a language the user deleted does not come back, while a language
// added by a later version still arrives; a user's own file of the same name is never replaced.
void prepareHome(const std::filesystem::path& home);

// The help page that this version carries, written into the home when Help opens it (not at
// start, so that the command-line tool writes nothing its command does not name). A page left
// by another version is replaced.
void writeHelpPage(const std::filesystem::path& home);
std::filesystem::path helpPagePath(const std::filesystem::path& home);

} // namespace velloria
