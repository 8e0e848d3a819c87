#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace velloria {

class Clock;

// velloria-cli: the library of a home directory from the command line, through the same core
// operations as the program. Returns the exit status: 0 done, 1 an error (printed to err),
// 2 a usage error.
struct CommandLineContext {
    std::ostream& out;
    std::ostream& err;
    const Clock& clock;
    std::filesystem::path defaultHome; // used without --home
    bool errIsTerminal = false;        // long imports and exports draw a progress bar on err
};

int runCommandLine(const std::vector<std::string>& arguments, const CommandLineContext& context);

} // namespace velloria
