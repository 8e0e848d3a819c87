#include "ToolBenchmarks.h"

#include "Measure.h"
#include "WindowModel.h"

#include "mainwindow/DuplicatesDialog.h"
#include "platform/FileIO.h"
#include "store/LibraryPaths.h"
#include "tools/LinkFilter.h"
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

constexpr std::size_t kAddedDuplicates = 10000;
constexpr std::size_t kFoldersWithDuplicates = 1000;

// The links of a folder of the plan with addresses made unique: the generated addresses repeat
// by chance, and the duplicates benchmarks count only the ones they add.
FolderLinks uniqueLinks(const LibraryPlan& plan, std::size_t folder)
{
    FolderLinks links = makeFolderLinks(plan, folder);
    for (std::size_t row = 0; row < links.links.size(); ++row) {
        std::string& address = links.links[row].Address;
        address += address.find('?') == std::string::npos ? "?u=" : "&u=";
        address += std::to_string(folder) + '-' + std::to_string(row);
    }
    return links;
}

// A copy of the library in <home>/duplicates, its addresses unique, with 10,000 links added to
// 1,000 folders, ten each, every one the copy of a link of another folder; made once, one
// folder at a time.
fs::path libraryWithDuplicates(const fs::path& home, const LibraryPlan& plan)
{
    const fs::path copy = home / "duplicates";
    if (fs::exists(copy))
        return copy;
    // Every file is new: replacing files would free inodes, which makes creating files slower
    // for a while on some file systems, and so the benchmarks after this one.
    const fs::path making = home / "duplicates.new";
    fs::remove_all(making);
    fs::create_directories(making / "RefLib" / "Links");
    for (const auto& entry : fs::directory_iterator(home / "RefLib"))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), making / "RefLib" / entry.path().filename());
    const std::size_t folders = plan.folders.size();
    const std::size_t step = folders / kFoldersWithDuplicates;
    expect(step >= 2, "the library has too few folders for 1,000 with duplicates");
    // The sources: the links of the folders between the targets, taken in order.
    std::size_t source = 1;
    std::size_t sourceRow = 0;
    FolderLinks sourceLinks = uniqueLinks(plan, source);
    const auto nextSource = [&]() -> std::pair<TLinkRecord, std::string> {
        while (sourceRow >= sourceLinks.links.size()) {
            source = (source + 1) % folders;
            if (source % step == 0 || source == plan.bigFolder)
                source = (source + 1) % folders;
            sourceLinks = uniqueLinks(plan, source);
            sourceRow = 0;
        }
        const std::size_t row = sourceRow++;
        return {sourceLinks.links[row], sourceLinks.descriptions[row]};
    };
    const LibraryPaths paths(making);
    for (std::size_t folder = 0; folder < folders; ++folder) {
        if (plan.linkCounts[folder] == 0 && folder % step != 0)
            continue;
        FolderLinks links = uniqueLinks(plan, folder);
        for (std::size_t i = 0; folder % step == 0 && i < kAddedDuplicates / kFoldersWithDuplicates; ++i) {
            auto [link, description] = nextSource();
            link.LastVisit.assign(1, ' ');
            links.links.push_back(std::move(link));
            links.descriptions.push_back(std::move(description));
        }
        const std::string bytes = writeLinkFile(links.links, links.descriptions);
        for (const std::string_view ext : {kWorkingLinkExt, kSavedLinkExt})
            writeFileAtomically(paths.linkFilePath(plan.folders[folder].Name, ext), bytes);
    }
    fs::rename(making, copy);
    return copy;
}

// Tools > Find Duplicates up to the groups shown: every link file read, the groups and the proposal.
std::vector<double> findTheDuplicates(const fs::path& home, const LibraryPlan& plan)
{
    const fs::path copy = libraryWithDuplicates(home, plan);
    WindowModel window(copy);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        std::size_t checked = 0;
        times.push_back(millisecondsOf([&] { checked = DuplicatesDialog(window.model).checkedCount(); }));
        expect(checked == kAddedDuplicates, "the proposal deletes " + std::to_string(checked) + " links");
    }
    return times;
}

// Delete Checked with the proposal (the files written, the library read again), undone untimed.
std::vector<double> deleteTheDuplicates(const fs::path& home, const LibraryPlan& plan)
{
    const fs::path copy = libraryWithDuplicates(home, plan);
    WindowModel window(copy);
    MainWindowModel& model = window.model;
    model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        DuplicatesDialog dialog(model);
        std::size_t deleted = 0;
        times.push_back(millisecondsOf([&] { deleted = dialog.deleteChecked(); }));
        expect(deleted == kAddedDuplicates && dialog.groups().empty(),
               "deleted " + std::to_string(deleted) + " links, " + std::to_string(dialog.groups().size()) + " groups left");
        model.deleting().RestoreUndoState();
    }
    return times;
}

// The filter's index of every link made, with the order by title that the list shows its rows in;
// what it adds to the process's peak memory is held to 48 MB.
std::vector<double> buildTheFilterIndex(const fs::path& home, const LibraryPlan& plan)
{
    WindowModel window(home);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    std::vector<double> times;
    const double before = peakResidentMegabytes();
    for (int run = 0; run < kRuns; ++run) {
        LinkIndex index;
        times.push_back(millisecondsOf([&] {
            index.refresh(window.model.library());
            index.sorted({}, static_cast<int>(SortMode::Title), false);
        }));
        expect(index.size() >= plan.linkCount(), "the index holds " + std::to_string(index.size()) + " links");
    }
    const double extra = peakResidentMegabytes() - before;
    expect(extra < 48, "the index took " + std::to_string(static_cast<int>(extra)) + " MB more");
    return times;
}

// Keystrokes in the filter field: a letter that most links hold, typed over another such letter
// (nothing to narrow: every link is looked at and the result sorted), and a word typed letter by
// letter. Each time is one keystroke's, from the text to the rows in their order.
std::vector<double> filterKeystrokes(const fs::path& home, const LibraryPlan& plan, bool oneLetter)
{
    WindowModel window(home);
    MainWindowModel& model = window.model;
    model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    model.filter().setText("x"); // the index made
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        if (oneLetter) {
            for (const char* letter : {"e", "a"}) {
                times.push_back(millisecondsOf([&] { model.filter().setText(letter); }));
                expect(model.filter().rowCount() > plan.linkCount() / 2,
                       "\"" + std::string(letter) + "\" matches only " + std::to_string(model.filter().rowCount()));
            }
            continue;
        }
        model.filter().setText("");
        const std::string word = kFrequentWord;
        for (std::size_t length = 1; length <= word.size(); ++length)
            times.push_back(millisecondsOf([&] { model.filter().setText(word.substr(0, length)); }));
        expect(model.filter().rowCount() > 0, "the word matches nothing");
    }
    return times;
}

} // namespace

std::vector<Benchmark> toolBenchmarks(const fs::path& home, const LibraryPlan& plan)
{
    return {
        {"find a text that is nowhere", 150, [&plan, home] { return findAbsentText(home, plan); }},
        {"find again through 1,000 matches", 1000, [home] { return stepThroughMatches(home); }},
        {"statistics", 200, [&plan, home] { return computeTheStatistics(home, plan); }},
        {"filter: make the index", 150, [&plan, home] { return buildTheFilterIndex(home, plan); }},
        {"filter: one-letter keystroke", 16,
         [&plan, home] { return filterKeystrokes(home, plan, true); }},
        {"filter: keystrokes of a word", 16,
         [&plan, home] { return filterKeystrokes(home, plan, false); }},
    };
}

std::vector<Benchmark> duplicateBenchmarks(const fs::path& home, const LibraryPlan& plan)
{
    return {
        {"find duplicates (10,000 added over 1,000 folders)", 150,
         [&plan, home] { return findTheDuplicates(home, plan); }},
        {"delete the 10,000 proposed duplicates", 1000, [&plan, home] { return deleteTheDuplicates(home, plan); }},
    };
}

} // namespace velloria::bench
