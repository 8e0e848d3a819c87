// Stops each operation of the crash scenario at every step of its file operations in turn.
//   kill:   a child is killed at the step; then the crash checks hold.
//   power:  a child loses power at the step: what it had not flushed to disk is lost (a file
//           whose bytes were not flushed is empty, a rename or delete whose directory was not
//           flushed is undone); the crash checks hold, and a power loss after the operation
//           returned keeps all of it.
//   faults: the step fails (no space left, an I/O error, no permission); the operation reports
//           the error, leaves no temporary file, and the crash checks hold.
//   random: a child is killed at a random moment of the operation, 260 times with a fixed seed,
//           which does not depend on the steps being complete.
// Usage: velloria_crash_points kill|power|faults|random

#include "crash/CrashHarness.h"

#include "platform/FileIO.h"
#include "store/LibraryPaths.h"

#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace velloria;
using namespace velloria::crash;

namespace {

enum class Mode { Count, Kill, PowerLoss, Fault };

// What the disk holds through a power loss, for every path the operation touched.
class DiskModel {
public:
    void note(FileStep step, const fs::path& path, const fs::path& from)
    {
        switch (step) {
        case FileStep::CreateTemporary:
        case FileStep::Rename:
        case FileStep::Delete: track(path); break;
        case FileStep::WritePart:
            m_durable.try_emplace(path, nullptr);
            entry(path, std::make_shared<Inode>());
            break;
        case FileStep::FileFlushed: *m_current.at(path) = test::readBytes(path); break;
        case FileStep::Renamed: entry(path, m_current.at(from)), entry(from, nullptr); break;
        case FileStep::Deleted: entry(path, nullptr); break;
        case FileStep::DirectoryFlushed:
            for (const fs::path& changed : m_pending[path])
                m_durable[changed] = m_current[changed];
            m_pending[path].clear();
            break;
        default: break;
        }
    }

    void powerLoss() const
    {
        for (const auto& [path, inode] : m_durable)
            inode ? test::writeBytes(path, inode->value_or("")) : (void)fs::remove(path);
    }

private:
    using Inode = std::optional<std::string>; // the bytes once flushed
    void track(const fs::path& path)
    {
        if (!m_current.contains(path))
            m_current[path] = m_durable[path] = fs::exists(path) ? std::make_shared<Inode>(test::readBytes(path)) : nullptr;
    }
    void entry(const fs::path& path, std::shared_ptr<Inode> inode)
    {
        track(path);
        m_current[path] = std::move(inode);
        m_pending[path.parent_path()].push_back(path);
    }
    std::map<fs::path, std::shared_ptr<Inode>> m_current, m_durable; // null: no entry
    std::map<fs::path, std::vector<fs::path>> m_pending; // directory -> entries changed since its flush
};

struct Watcher : FileStepWatcher {
    Watcher(Mode how, int point) : mode(how), stopAt(point) { setFileStepWatcher(this); }
    ~Watcher() override { setFileStepWatcher(nullptr); }
    int at(FileStep step, const fs::path& path, const fs::path& from) override
    {
        disk.note(step, path, from);
        if (step != FileStep::Read && crashPoints++ == stopAt && (mode == Mode::Kill || mode == Mode::PowerLoss)) {
            if (mode == Mode::PowerLoss)
                disk.powerLoss();
            raise(SIGKILL);
        }
        const bool canFail = step != FileStep::FileFlushed && step != FileStep::Renamed
            && step != FileStep::DirectoryFlushed && step != FileStep::Deleted;
        if (canFail && faultPoints++ == stopAt && mode == Mode::Fault)
            return error;
        return 0;
    }
    Mode mode;
    int stopAt;
    int error = 0;
    int crashPoints = 0;
    int faultPoints = 0;
    DiskModel disk;
};

// The crash points and fault points of the operation run from the home before it.
std::pair<int, int> pointsOf(const Scenario& scenario, std::size_t index)
{
    scenario.restore(index);
    Program program(scenario.home);
    const Watcher counter(Mode::Count, -1);
    scenario.sequence[index].second(program);
    return {counter.crashPoints, counter.faultPoints};
}

// Runs the operation in a child stopped at the point; true when it stopped there.
bool stopInChild(const Scenario& scenario, std::size_t index, Mode mode, int point, bool end)
{
    scenario.restore(index);
    const pid_t child = fork();
    if (child == 0) {
        Program program(scenario.home);
        Watcher watcher(mode, end ? -1 : point);
        scenario.sequence[index].second(program);
        if (end)
            watcher.disk.powerLoss();
        _exit(end ? 0 : 4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return end ? WIFEXITED(status) && WEXITSTATUS(status) == 0 : WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Runs the operation with the step failing; checks the error and that no temporary file is left.
void failAt(const Scenario& scenario, std::size_t index, int point, const std::string& run)
{
    static const int errors[] = {ENOSPC, EIO, EACCES};
    scenario.restore(index);
    Program program(scenario.home);
    Watcher watcher(Mode::Fault, point);
    watcher.error = errors[point % 3];
    const std::string message = test::errorOf([&] { scenario.sequence[index].second(program); });
    require(message.find(systemReason(watcher.error)) != std::string::npos,
            run + ": the failure is not reported: " + message);
    for (const auto& [path, bytes] : test::filesBelow(scenario.home))
        require(!fs::path(path).filename().string().starts_with(".vtmp-"), run + ": " + path + " left behind");
}

// Kills a child at a random moment within each operation's time (a little past it now and then).
int killAtRandom(const Scenario& scenario, int runs)
{
    std::vector<double> seconds;
    for (std::size_t index = 0; index < scenario.sequence.size(); ++index) {
        scenario.restore(index);
        Program program(scenario.home);
        const auto start = std::chrono::steady_clock::now();
        scenario.sequence[index].second(program);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::mt19937 random(20261207);
    int killed = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t index = static_cast<std::size_t>(run) % scenario.sequence.size();
        scenario.restore(index);
        int ready[2];
        if (pipe(ready) != 0)
            std::abort();
        const pid_t child = fork();
        if (child == 0) {
            Program program(scenario.home);
            if (write(ready[1], "g", 1) == 1)
                scenario.sequence[index].second(program);
            _exit(0);
        }
        close(ready[1]);
        char go = 0;
        const bool started = read(ready[0], &go, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(
            std::chrono::duration<double>(std::uniform_real_distribution<double>(0.0, seconds[index] * 1.1)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const bool wasKilled = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        const std::string name = "run " + std::to_string(run) + " (" + scenario.sequence[index].first + ")";
        require(started && (wasKilled || (WIFEXITED(status) && WEXITSTATUS(status) == 0)), name + ": the child failed");
        killed += wasKilled ? 1 : 0;
        checkInterrupted(scenario.home, scenario.states[index], scenario.states[index + 1], name);
    }
    return killed;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string modeName = argc > 1 ? argv[1] : "";
    const Mode mode = modeName == "kill" ? Mode::Kill : modeName == "power" ? Mode::PowerLoss : Mode::Fault;
    if (mode == Mode::Fault && modeName != "faults" && modeName != "random") {
        std::cerr << "Usage: velloria_crash_points kill|power|faults|random\n";
        return 2;
    }
    test::TempHome work;
    test::TempHome library;
    const Scenario scenario(library, work.path(), modeName == "random" ? 150 : 40);
    if (modeName == "random")
        std::cout << "random: 260 runs, " << killAtRandom(scenario, 260) << " killed during the operation: ";
    int expected = 0;
    int covered = 0;
    for (std::size_t index = 0; index < scenario.sequence.size() && modeName != "random"; ++index) {
        const auto& [name, operation] = scenario.sequence[index];
        const auto [crashPoints, faultPoints] = pointsOf(scenario, index);
        // Every operation writes a file at least: write, flush, rename, flush the directory.
        require(crashPoints >= 7, name + ": only " + std::to_string(crashPoints) + " crash points");
        const int points = mode == Mode::Fault ? faultPoints : crashPoints + (mode == Mode::PowerLoss ? 1 : 0);
        expected += points;
        const Snapshot& before = scenario.states[index];
        const Snapshot& after = scenario.states[index + 1];
        for (int point = 0; point < points; ++point) {
            const std::string run = name + ", step " + std::to_string(point);
            const bool end = mode == Mode::PowerLoss && point == crashPoints;
            if (mode == Mode::Fault)
                failAt(scenario, index, point, run);
            else if (!stopInChild(scenario, index, mode, point, end)) {
                require(false, run + ": the child did not stop there");
                continue;
            }
            ++covered;
            if (end) {
                require(snapshotOf(scenario.home) == after, run + ": a power loss after the operation lost some of it");
                require(!fs::exists(scenario.home / "RefLib" / kSaveInProgressFile), run + ": the save is still marked");
            }
            checkInterrupted(scenario.home, before, after, run);
        }
    }
    if (modeName != "random")
        std::cout << modeName << ": " << covered << " of " << expected << " points of " << scenario.sequence.size()
                  << " operations covered: ";
    std::cout << (failureCount() ? std::to_string(failureCount()) + " failures" : "the library survived every stop") << '\n';
    require(covered == expected, "fewer points covered than expected");
    return failureCount() ? 1 : 0;
}
