#pragma once

#include <filesystem>

namespace velloria {

// The set-up of a home directory that the program and the command-line tool share, run before
// anything else reads it: the home and its Languages directory exist, and every language file
// that Velloria ships has been put there once. The names already offered are recorded in
// "Languages/.shipped", so that a language the user deleted does not come back, while a language
// added by a later version still arrives; a user's own file of the same name is never replaced.
void prepareHome(const std::filesystem::path& home);

// Removes the temporary files that writes cut short left in the library (RefLib and
// RefLib/Links). Only the process that holds the home calls it (the program's single instance,
// the command-line tool's lock for a change): the files could be another's writes in progress.
void removeUnfinishedWrites(const std::filesystem::path& home);

// The start of work on a home, the same for the program and the command-line tool: a home that
// this process holds is cleared of unfinished writes, then every home is prepared. A preparation
// that fails throws; the callers show the error and go on, since a home that cannot be written
// can still be read. (The command-line tool holds the home only from its lock for a change on.)
enum class HomeHeld { No, Yes };
void startHome(const std::filesystem::path& home, HomeHeld held);

// The help page that this version carries, written into the home when Help opens it (not at
// start, so that the command-line tool writes nothing its command does not name). A page left
// by another version is replaced.
void writeHelpPage(const std::filesystem::path& home);
std::filesystem::path helpPagePath(const std::filesystem::path& home);

} // namespace velloria
