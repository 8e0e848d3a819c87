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
    std::filesystem::path defaultHome;
    try {
        bool homeGiven = false;
        for (const auto& argument : arguments)
            homeGiven = homeGiven || argument == "--home";
        if (!homeGiven)
            defaultHome = resolveHomeDirectory(programDirectory());
    } catch (const Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return runCommandLine(arguments, {std::cout, std::cerr, clock, defaultHome, isatty(STDERR_FILENO) == 1});
}
