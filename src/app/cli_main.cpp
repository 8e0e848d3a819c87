#include "base/Clock.h"
#include "base/Error.h"
#include "cli/CommandLineTool.h"
#include "platform/HomeDirectory.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace velloria;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const SystemClock clock;
    // Where the library is; a command creates it on first use, while --help, --version and the
    // shell's completion only look.
    std::filesystem::path defaultHome;
    try {
        defaultHome = homeDirectoryFor(programDirectory());
    } catch (const Error&) {
        // Without HOME a command needs --home; runCommandLine says so.
    }
    return runCommandLine(arguments, {std::cout, std::cerr, clock, defaultHome, isatty(STDERR_FILENO) == 1});
}
