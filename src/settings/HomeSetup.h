#pragma once

#include <filesystem>

namespace velloria {

// The set-up of a home directory that the program and the command-line tool share, run before
// anything else reads it: the home and its Languages directory exist, and every language file
// that Velloria ships has been put there once. The names already offered are recorded in
// "Languages/.shipped", so that a language the user deleted does not come back, while a language
// added by a later version still arrives; a user's own file of the same name is never replaced.
// The help page is written there too, kept equal to the one this version carries.
void prepareHome(const std::filesystem::path& home);

// Where prepareHome puts the help page.
std::filesystem::path helpPagePath(const std::filesystem::path& home);

} // namespace velloria
