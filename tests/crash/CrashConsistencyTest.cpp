// Kills the program with SIGKILL at random moments of each operation of the crash scenario, each
// rerun in a child from the home as it was before it, and checks what the kill left.
// Usage: velloria_crash_test [--runs N] [--seed S]

#include "crash/CrashHarness.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace velloria;
using namespace velloria::crash;

int main(int argc, char** argv)
{
    const auto option = [&](std::string_view name, unsigned long value) {
        for (int i = 1; i + 1 < argc; i += 2)
            if (argv[i] == name)
                value = std::strtoul(argv[i + 1], nullptr, 10);
        return value;
    };
    const int runs = static_cast<int>(option("--runs", 260));
    const unsigned seed = static_cast<unsigned>(option("--seed", 20261207));

    test::TempHome work;
    test::TempHome library;
    const Scenario scenario(library, work.path(), 150);
    // How long each operation takes, to the end.
    std::vector<double> seconds;
    for (std::size_t index = 0; index < scenario.sequence.size(); ++index) {
        scenario.restore(index);
        Program program(scenario.home);
        const auto start = std::chrono::steady_clock::now();
        scenario.sequence[index].second(program);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

    std::mt19937 random(seed);
    int interrupted = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t index = static_cast<std::size_t>(run) % scenario.sequence.size();
        const std::string name = "run " + std::to_string(run);
        scenario.restore(index);
        int ready[2];
        if (pipe(ready) != 0)
            return 2;
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            Program program(scenario.home);
            if (write(ready[1], "g", 1) != 1)
                _exit(3);
            scenario.sequence[index].second(program);
            _exit(0);
        }
        close(ready[1]);
        char go = 0;
        const bool started = read(ready[0], &go, 1) == 1;
        close(ready[0]);
        // A moment within the operation's time, a little past it now and then.
        std::uniform_real_distribution<double> moment(0.0, seconds[index] * 1.1);
        std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        require(started && (killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)),
                name + ": the child failed on its own");
        interrupted += killed ? 1 : 0;
        checkInterrupted(scenario.home, scenario.states[index], scenario.states[index + 1],
                         name + " (" + scenario.sequence[index].first + ")");
    }

    std::cout << runs << " runs of " << scenario.sequence.size() << " operations, " << interrupted
              << " killed during the operation, seed " << seed << ": "
              << (failureCount() ? std::to_string(failureCount()) + " failures" : "the library survived every kill") << '\n';
    return failureCount() ? 1 : 0;
}
