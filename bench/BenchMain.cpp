// velloria-bench: generates a large library in a temporary home directory and times the
// library operations on it, each in a process of its own, against the times and the memory
// that the program must keep to.

#include "InterchangeBenchmarks.h"
#include "LinkCheckBenchmarks.h"
#include "LibraryGenerator.h"
#include "Measure.h"
#include "StoreBenchmarks.h"
#include "ToolBenchmarks.h"

#include <charconv>
#include <ctime>
#include <sys/vfs.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace velloria::bench;

constexpr std::size_t kBigFolderLinks = 20000;

constexpr const char* kUsage = R"(Usage: velloria-bench [options]

Generates a library in a temporary home directory and times the library operations on it.
Each operation runs in a child process of its own, at least 5 times, after the files written
before it are flushed to the disk. The peak is that process's resident high-water mark (VmHWM).
An operation meets its target when the median of its runs AND its first run (the one a user
meets after starting the program) are both under the time target and the peak is under the
memory target; the result names what missed, e.g. MISSED (first run: time). Each operation checks
its result (rows shown, links written or imported, matches found) and fails when it is wrong.

  --folders N   folders of the library (default 2000)
  --links N     links in all (default 100000); a fifth of them, at most 20000, in the folder Big
  --seed N      seed of the generator (default 2025); the same seed gives the same library
  --dir PATH    generate the library in PATH (which is kept) instead of a temporary directory
  --keep        keep the temporary directory
  --only TEXT   run only the operations whose names hold TEXT (for profiling one of them)
  --report      also run the main window's benchmarks (velloria-window-bench, beside this
                program) and end with one Markdown table of every figure and its target
  --help        show this text

The exit status is 0 also when a target is missed, 1 when an operation fails, 2 on bad options.
)";

struct BenchOptions {
    LibraryOptions library;
    std::optional<fs::path> directory;
    std::string only;
    bool keep = false;
    bool report = false;
    bool help = false;
};

template <typename Number> bool parseNumber(std::string_view text, Number& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// Throws std::invalid_argument with the problem when the arguments are not understood.
BenchOptions parseArguments(int argc, char** argv)
{
    BenchOptions options;
    std::size_t links = options.library.links;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= argc)
                throw std::invalid_argument(std::string(argument) + " needs a value");
            return argv[++i];
        };
        const auto number = [&](auto& target) {
            const std::string_view text = value();
            if (!parseNumber(text, target))
                throw std::invalid_argument(std::string(argument) + ": \"" + std::string(text) + "\" is not a number");
        };
        if (argument == "--folders")
            number(options.library.folders);
        else if (argument == "--links")
            number(links);
        else if (argument == "--seed")
            number(options.library.seed);
        else if (argument == "--dir")
            options.directory = fs::path(value());
        else if (argument == "--only")
            options.only = value();
        else if (argument == "--keep")
            options.keep = true;
        else if (argument == "--report")
            options.report = true;
        else if (argument == "--help")
            options.help = true;
        else
            throw std::invalid_argument("unknown option " + std::string(argument));
    }
    options.library.links = links;
    options.library.bigFolderLinks = std::min(kBigFolderLinks, links / 5);
    return options;
}

// The directory that holds the library, removed at the end unless it is to be kept.
class HomeDirectory {
public:
    explicit HomeDirectory(const BenchOptions& options)
    {
        if (options.directory) {
            m_path = *options.directory;
            fs::create_directories(m_path);
            m_remove = false;
            return;
        }
        std::string pattern = (fs::temp_directory_path() / "velloria-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary directory in " + fs::temp_directory_path().string());
        m_path = pattern;
        m_remove = !options.keep;
    }
    ~HomeDirectory()
    {
        std::error_code ignored;
        if (m_remove)
            fs::remove_all(m_path, ignored);
    }
    HomeDirectory(const HomeDirectory&) = delete;
    HomeDirectory& operator=(const HomeDirectory&) = delete;

    const fs::path& path() const { return m_path; }
    bool removedAtEnd() const { return m_remove; }

private:
    fs::path m_path;
    bool m_remove = false;
};

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos)
            return line.substr(line.find(':') + 2);
    return "unknown CPU";
}

// The file system that holds the library, by the magic number statfs gives.
std::string fileSystemName(const fs::path& directory)
{
    struct statfs info {};
    if (::statfs(directory.c_str(), &info) != 0)
        return "unknown file system";
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext4";
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x01021994: return "tmpfs";
    case 0x794C7630: return "overlayfs";
    }
    return "file system 0x" + [&] {
        char hex[32];
        std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(info.f_type));
        return std::string(hex);
    }();
}

// The machine as the report's heading gives it: CPUs, memory, the library's file system and what
// the first touch of a memory page costs, which first runs pay for every page.
std::string machineLine(const fs::path& home)
{
    const double gigabytes = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) * static_cast<double>(::sysconf(_SC_PAGESIZE))
                             / (1024.0 * 1024.0 * 1024.0);
    char text[256];
    std::snprintf(text, sizeof text, "%u CPUs, %s, %.0f GB, %s; first touch of a memory page %.2f us",
                  std::thread::hardware_concurrency(), cpuModel().c_str(), gigabytes, fileSystemName(home).c_str(),
                  freshPageMicroseconds());
    return text;
}

std::string today()
{
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    return text;
}

double directoryMegabytes(const fs::path& directory)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (entry.is_regular_file())
            bytes += entry.file_size();
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::string formatTarget(double milliseconds)
{
    if (milliseconds >= 1000)
        return "< " + std::to_string(static_cast<int>(milliseconds / 1000)) + " s";
    return "< " + std::to_string(static_cast<int>(milliseconds)) + " ms";
}

std::string formatLine(const std::string& name, const Measurement& m, const std::string& target, const std::string& verdict)
{
    char first[32];
    std::snprintf(first, sizeof first, "; first %.1f", m.firstMilliseconds);
    const std::string runs = m.runs == 1 ? "(1 run)" : "(median of " + std::to_string(m.runs) + first + ")";
    char line[512];
    std::snprintf(line, sizeof line, "%-40s %8.1f ms %-27s peak %6.1f MB   %-26s %s", name.c_str(), m.milliseconds,
                  runs.c_str(), m.peakMegabytes, target.c_str(), verdict.c_str());
    std::string text = line;
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The median and the first run are each held to the time target, the peak to the memory
// target; a benchmark without a memory target has peakTargetMegabytes 0.
std::string verdict(const Benchmark& benchmark, const Measurement& m)
{
    if (!m.error.empty())
        return "FAILED: " + m.error;
    std::string missed;
    const auto miss = [&missed](const char* what) { missed += (missed.empty() ? "" : ", ") + std::string(what); };
    if (m.milliseconds >= benchmark.targetMilliseconds)
        miss("time");
    if (benchmark.peakTargetMegabytes > 0 && m.peakMegabytes >= benchmark.peakTargetMegabytes)
        miss("memory");
    if (m.firstMilliseconds >= benchmark.targetMilliseconds)
        miss("first run: time");
    return missed.empty() ? "ok" : "MISSED (" + missed + ")";
}

std::string targetText(const Benchmark& benchmark)
{
    std::string text = formatTarget(benchmark.targetMilliseconds);
    if (benchmark.peakTargetMegabytes > 0)
        text += ", < " + std::to_string(static_cast<int>(benchmark.peakTargetMegabytes)) + " MB";
    return text;
}

// Prints the benchmark's line; returns false when it failed (a missed target is no failure).
bool report(const Benchmark& benchmark, const Measurement& m)
{
    std::cout << formatLine(benchmark.name, m, "target " + targetText(benchmark), verdict(benchmark, m)) << '\n';
    return m.error.empty();
}

struct Result {
    Benchmark benchmark;
    Measurement measurement;
};

// The main window's benchmarks, run by velloria-window-bench beside this program, which prints
// one tab-separated row per benchmark with --rows. Nothing when it was not built.
std::vector<Result> windowResults(const fs::path& home)
{
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "velloria-window-bench";
    if (!fs::exists(program)) {
        std::cout << "(no main window benchmarks: " << program.string() << " was not built)\n";
        return {};
    }
    const std::string command = "'" + program.string() + "' --rows --dir '" + (home / "window").string() + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + program.string());
    std::vector<Result> results;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::vector<std::string> fields;
        std::string field;
        for (const char* c = buffer; *c && *c != '\n'; ++c) {
            if (*c == '\t') {
                fields.push_back(field);
                field.clear();
            } else {
                field += *c;
            }
        }
        fields.push_back(field);
        if (fields.size() != 6 || fields[0].empty())
            continue;
        Result result;
        result.benchmark.name = fields[0];
        result.measurement.milliseconds = std::stod(fields[1]);
        result.measurement.firstMilliseconds = std::stod(fields[2]);
        result.measurement.runs = std::stoul(fields[3]);
        result.measurement.peakMegabytes = std::stod(fields[4]);
        result.benchmark.targetMilliseconds = std::stod(fields[5]);
        result.benchmark.peakTargetMegabytes = 0;
        if (result.measurement.runs < kMinimumRuns)
            result.measurement.error = "only " + fields[3] + " runs were measured";
        results.push_back(std::move(result));
    }
    if (::pclose(pipe) != 0 || results.empty()) {
        Result failed;
        failed.benchmark = {.name = "main window benchmarks", .targetMilliseconds = 0};
        failed.measurement.error = program.filename().string() + " failed";
        results.push_back(std::move(failed));
    }
    return results;
}

std::string fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// One Markdown table of every figure beside its target, for the README.
void printTable(const std::vector<Result>& results)
{
    std::cout << "\n| Operation | Time (median) | First run | Runs | Peak memory | Target | Result |\n"
              << "|---|---:|---:|---:|---:|---|---|\n";
    for (const auto& [benchmark, m] : results) {
        const std::string time = m.milliseconds >= 1000 ? fixed(m.milliseconds / 1000) + " s" : fixed(m.milliseconds) + " ms";
        const std::string first =
            m.firstMilliseconds >= 1000 ? fixed(m.firstMilliseconds / 1000) + " s" : fixed(m.firstMilliseconds) + " ms";
        std::cout << "| " << benchmark.name << " | " << time << " | " << first << " | " << m.runs << " | "
                  << fixed(m.peakMegabytes)
                  << " MB | " << targetText(benchmark) << " | " << verdict(benchmark, m) << " |\n";
    }
}

void printLibrary(const LibraryPlan& plan, const HomeDirectory& home)
{
    std::size_t topLevel = 0;
    for (const auto& folder : plan.folders)
        topLevel += folder.Level == 0 ? 1 : 0;
    std::cout << "library:  " << formatCount(plan.folders.size()) << " folders (" << topLevel << " top-level, levels 0-"
              << plan.deepestLevel() << ", " << plan.emptyFolderCount() << " without links), "
              << formatCount(plan.linkCount()) << " links, seed " << plan.options.seed << '\n'
              << "          \"" << plan.folders[plan.bigFolder].Name << "\" holds "
              << formatCount(plan.linkCounts[plan.bigFolder]) << " links; \"" << plan.folders[plan.archiveFolder].Name
              << "\" has " << plan.options.archiveFolders << " folders in its subtree; \""
              << plan.folders[plan.selectedFolder].Name << "\" is selected\n"
              << "home:     " << home.path().string()
              << (home.removedAtEnd() ? " (removed at the end; --keep keeps it)" : " (kept)") << '\n';
}

int run(const BenchOptions& options, const LibraryPlan& plan)
{
    const HomeDirectory home(options);
    const std::string machine = machineLine(home.path());
    std::cout << "machine:  " << machine << '\n';
    printLibrary(plan, home);

    // The library is written by a child process too, so that its memory does not count in the
    // peaks of the operations, whose processes are forked from this one.
    const Measurement generated = measureInChildProcess([&] {
        return std::vector<double>{millisecondsOf([&] {
            writeLibrary(home.path(), plan);
            writeBookmarkFiles(home.path(), plan);
        })};
    }, 1);
    if (!generated.error.empty()) {
        std::cerr << "velloria-bench: cannot generate the library: " << generated.error << '\n';
        return 1;
    }
    std::cout << "files:    " << static_cast<int>(directoryMegabytes(home.path() / "RefLib") + 0.5)
              << " MB in RefLib (working and saved generation)\n\n"
              << formatLine("generate the library (setup)", generated, "", "") << '\n';

    bool allSucceeded = true;
    std::vector<Benchmark> benchmarks = storeBenchmarks(home.path(), plan);
    for (auto* area : {toolBenchmarks, interchangeBenchmarks, duplicateBenchmarks, linkCheckBenchmarks})
        for (Benchmark& benchmark : area(home.path(), plan))
            benchmarks.push_back(std::move(benchmark));
    std::vector<Result> results;
    for (Benchmark& benchmark : benchmarks) {
        if (benchmark.name.find(options.only) == std::string::npos)
            continue;
        Measurement m = measureInChildProcess(benchmark.run);
        allSucceeded = report(benchmark, m) && allSucceeded;
        results.push_back({std::move(benchmark), std::move(m)});
    }
    if (options.report) {
        for (Result& result : windowResults(home.path())) {
            allSucceeded = report(result.benchmark, result.measurement) && allSucceeded;
            results.push_back(std::move(result));
        }
        std::cout << "\nmachine: " << machine << "\nlibrary: " << formatCount(plan.folders.size()) << " folders, "
                  << formatCount(plan.linkCount()) << " links, seed " << plan.options.seed << "; " << today() << '\n';
        printTable(results);
    }
    return allSucceeded ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    BenchOptions options;
    LibraryPlan plan;
    try {
        options = parseArguments(argc, argv);
        if (options.help) {
            std::cout << kUsage;
            return 0;
        }
        // The generator's own checks of the numbers are usage errors too.
        plan = planLibrary(options.library);
    } catch (const std::invalid_argument& error) {
        std::cerr << "velloria-bench: " << error.what() << "\n\n" << kUsage;
        return 2;
    }
    try {
        return run(options, plan);
    } catch (const std::exception& error) {
        std::cerr << "velloria-bench: " << error.what() << '\n';
        return 1;
    }
}
