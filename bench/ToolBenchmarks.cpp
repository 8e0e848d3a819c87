#include "ToolBenchmarks.h"

#include "Measure.h"
#include "WindowModel.h"

#include "tools/Statistics.h"

#include <stdexcept>

namespace velloria::bench {

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = static_cast<int>(kMinimumRuns);
constexpr int kSteps = 1000;
// A word of the generated titles, frequent enough for a thousand matches.
constexpr const char* kFrequentWord = "sourdough";

void expect(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

// A Find that walks the whole library: the text is nowhere.
std::vector<double> findAbsentText(const fs::path& home, const LibraryPlan& plan)
{
    WindowModel window(home);
    MainWindowModel& model = window.model;
    model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    model.tree().trvFoldersEnter();
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run)
        times.push_back(millisecondsOf(
            [&] { expect(!model.search().Find("no such text qqq"), "an absent text was found"); }));
    expect(model.library().folderTree().count() == plan.folders.size(), "the tree changed");
    return times;
}

// Find, then Find Again until a thousand matches have been shown.
std::vector<double> stepThroughMatches(const fs::path& home)
{
    WindowModel window(home);
    MainWindowModel& model = window.model;
    model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    model.tree().trvFoldersEnter();
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        int shown = 0;
        times.push_back(millisecondsOf([&] {
            if (!model.search().Find(kFrequentWord))
                return;
            for (shown = 1; shown < kSteps && model.search().SearchAgain(); ++shown) {
            }
        }));
        expect(shown == kSteps, "the library holds only " + std::to_string(shown) + " matches");
    }
    return times;
}

std::vector<double> computeTheStatistics(const fs::path& home, const LibraryPlan& plan)
{
    WindowModel window(home);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    std::vector<double> times;
    LibraryStatistics figures;
    for (int run = 0; run < kRuns; ++run)
        times.push_back(millisecondsOf([&] { figures = computeStatistics(window.model.library()); }));
    // The editing benchmarks before have added a few links and saved them.
    expect(figures.links >= plan.linkCount(), "the statistics count fewer links than the library holds");
    return times;
}

} // namespace

std::vector<Benchmark> toolBenchmarks(const fs::path& home, const LibraryPlan& plan)
{
    return {
        {"find a text that is nowhere", 150, [&plan, home] { return findAbsentText(home, plan); }},
        {"find again through 1,000 matches", 1000, [home] { return stepThroughMatches(home); }},
        {"statistics", 200, [&plan, home] { return computeTheStatistics(home, plan); }},
    };
}

} // namespace velloria::bench
