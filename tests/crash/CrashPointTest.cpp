// Stops each operation of the crash scenario at every step of its file operations in turn.
//   kill:   a child is killed at the step; then the crash checks hold.
//   power:  a child loses power at the step: what it had not flushed to disk is lost (a file
//           whose bytes were not flushed is empty, a rename or delete whose directory was not
//           flushed is undone); the crash checks hold, and a power loss after the operation
//           returned keeps all of it.
//   faults: the step fails (no space left, an I/O error, no permission); the operation reports
//           the error, leaves no temporary file, and the crash checks hold.
// Usage: velloria_crash_points kill|power|faults

#include "crash/CrashHarness.h"

#include "platform/FileIO.h"
#include "store/LibraryPaths.h"

#include <csignal>
#include <iostream>
#include <memory>

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
        case FileStep::FileFlushed: *m_current.at(path) = {test::readBytes(path), true}; break;
        case FileStep::Renamed:
            entry(path, m_current.at(from));
            entry(from, nullptr);
            break;
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
        for (const auto& [path, inode] : m_durable) {
            if (!inode)
                fs::remove(path);
            else
                test::writeBytes(path, inode->flushed ? inode->data : "");
        }
    }

private:
    struct Inode {
        std::string data;
        bool flushed = false;
    };
    void track(const fs::path& path)
    {
        if (m_current.contains(path))
            return;
        std::shared_ptr<Inode> inode;
        if (fs::exists(path))
            inode = std::make_shared<Inode>(Inode{test::readBytes(path), true});
        m_current[path] = m_durable[path] = inode;
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

} // namespace

int main(int argc, char** argv)
{
    const std::string modeName = argc > 1 ? argv[1] : "";
    const Mode mode = modeName == "kill" ? Mode::Kill : modeName == "power" ? Mode::PowerLoss : Mode::Fault;
    if (mode == Mode::Fault && modeName != "faults") {
        std::cerr << "Usage: velloria_crash_points kill|power|faults\n";
        return 2;
    }
    test::TempHome work;
    test::TempHome library;
    const Scenario scenario(library, work.path(), 40);
    int expected = 0;
    int covered = 0;
    for (std::size_t index = 0; index < scenario.sequence.size(); ++index) {
        const auto& [name, operation] = scenario.sequence[index];
        const auto [crashPoints, faultPoints] = pointsOf(scenario, index);
        // Every operation writes at least one file: a temporary file, its flush, its rename and
        // the directory's flush.
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
    std::cout << modeName << ": " << covered << " of " << expected << " points of " << scenario.sequence.size()
              << " operations covered: "
              << (failureCount() ? std::to_string(failureCount()) + " failures" : "the library survived at every point")
              << '\n';
    require(covered == expected, "fewer points covered than expected");
    return failureCount() ? 1 : 0;
}
