#include "StoreBenchmarks.h"

#include "LibraryGenerator.h"
#include "Measure.h"
#include "WindowModel.h"

#include "base/Clock.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "platform/UrlOpener.h"
#include "store/Library.h"
#include "tools/Sort.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace velloria::bench {

namespace fs = std::filesystem;

namespace {

// Operations that change their input run each time after a fresh edit of the same size.
constexpr int kRuns = static_cast<int>(kMinimumRuns);
constexpr std::size_t kEditedFolders = 10;
constexpr double kOneSecond = 1000;

void expect(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

void loadTree(Library& library)
{
    library.LoadFolderTree();
    library.LoadFolderStates();
}

// Ordinary folders with links outside the archive, spread over the tree: the same ones every
// time, so that every edit has the same size.
std::vector<std::string> foldersToEdit(const LibraryPlan& plan)
{
    std::vector<std::string> candidates;
    const std::size_t archiveEnd = plan.archiveFolder + plan.options.archiveFolders;
    for (std::size_t i = 0; i < plan.folders.size(); ++i)
        if (i != plan.bigFolder && plan.linkCounts[i] > 0 && (i < plan.archiveFolder || i >= archiveEnd))
            candidates.push_back(plan.folders[i].Name);
    std::vector<std::string> chosen;
    const std::size_t step = std::max<std::size_t>(1, candidates.size() / kEditedFolders);
    for (std::size_t i = 0; i < candidates.size() && chosen.size() < kEditedFolders; i += step)
        chosen.push_back(candidates[i]);
    expect(!chosen.empty(), "the library has no ordinary folder with links to edit");
    return chosen;
}

// As the program adds a link: the folder's list is loaded, gets one more row, and is written
// back to the working file.
void addOneLinkEach(Library& library, const std::vector<std::string>& folders, int round)
{
    for (const std::string& folder : folders) {
        library.linkList().clear();
        library.LoadLinkFile(folder);
        library.linkDescriptions().resize(library.linkList().size());
        library.linkList().push_back({.Title = "Added link " + std::to_string(round),
                                      .Address = "https://added.example/" + std::to_string(round),
                                      .LastVisit = "",
                                      .AddDate = formatDate(kBenchmarkToday)});
        library.linkDescriptions().push_back("Added while measuring");
        library.SaveLinkFile(folder, kWorkingLinkExt);
    }
    library.linkList().clear();
    library.linkDescriptions().clear();
}

void expectSaved(const Library& library, const std::string& folder)
{
    expect(readFileIfExists(library.paths().linkFilePath(folder, kWorkingLinkExt))
               == readFileIfExists(library.paths().linkFilePath(folder, kSavedLinkExt)),
           "the link files of \"" + folder + "\" differ after the operation");
}

// One number per row with its description, in row order. Sorted, they tell whether a
// reordering kept every description with its row, without a second copy of the rows.
std::vector<std::size_t> rowHashes(const TLinkList& links, const std::vector<std::string>& descriptions)
{
    std::vector<std::size_t> hashes;
    hashes.reserve(links.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
        const std::string& description = i < descriptions.size() ? descriptions[i] : std::string();
        hashes.push_back(std::hash<std::string>{}(links[i].Title + '\n' + links[i].Address + '\n' + description));
    }
    std::sort(hashes.begin(), hashes.end());
    return hashes;
}

std::vector<double> loadTreeAndStates(const fs::path& home, const LibraryPlan& plan)
{
    const FixedClock clock(kBenchmarkToday);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        std::optional<Library> library;
        times.push_back(millisecondsOf([&] {
            library.emplace(home, clock);
            loadTree(*library);
        }));
        expect(library->folderTree().count() == plan.folders.size(), "the tree read back has another folder count");
        expect(library->folderTree().selectedIndex() == plan.selectedFolder, "the folder states were not restored");
    }
    return times;
}

bool sortedByTitle(const TLinkList& links)
{
    return std::is_sorted(links.begin(), links.end(), [](const TLinkRecord& a, const TLinkRecord& b) {
        return compareSortValues(a.Title, b.Title) < 0;
    });
}

// The start of the main window: preferences, language, library, folder states, and the
// remembered folder shown, sorted, when the tree takes the focus.
std::vector<double> startMainWindow(const fs::path& home, const LibraryPlan& plan)
{
    {
        WindowModel first(home);
        first.model.preferences().SavePreferences();
    }
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        std::optional<WindowModel> window;
        times.push_back(millisecondsOf([&] {
            window.emplace(home);
            window->model.lifecycle().FormCreate();
            window->model.tree().trvFoldersEnter();
        }));
        expect(window->model.library().folderTree().count() == plan.folders.size(), "the window shows another folder count");
        expect(window->model.tree().selectedFolder() == plan.selectedFolder, "the remembered folder is not shown");
    }
    fs::remove(home / "Tessel.cfg");
    return times;
}

// Selecting the big folder: its file read, the list sorted by title and the sorted order written
// back. The first run writes the new order; later runs find the file in order already.
std::vector<double> selectBigFolder(const fs::path& home, const LibraryPlan& plan)
{
    WindowModel window(home);
    MainWindowModel& model = window.model;
    model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    const std::size_t big = model.library().folderTree().findExact(plan.folders[plan.bigFolder].Name);
    expect(big != TFolderTree::npos, "the big folder is missing");
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        times.push_back(millisecondsOf([&] { model.tree().selectFolder(big); }));
        expect(model.library().linkList().size() == plan.linkCounts[plan.bigFolder],
               "the big folder shows another link count");
    }
    const TLinkList& links = model.library().linkList();
    expect(sortedByTitle(links), "the big folder's links are not sorted by title");
    // Made only now, so that the first run meets the memory as the program would, and within
    // the peak that the runs have set.
    const FolderLinks generated = makeFolderLinks(plan, plan.bigFolder);
    expect(rowHashes(links, model.library().linkDescriptions()) == rowHashes(generated.links, generated.descriptions),
           "sorting separated rows from their descriptions");
    // The generated library's order is the saved one; the sorted order goes back for the next.
    writeFileAtomically(model.library().paths().linkFilePath(plan.folders[plan.bigFolder].Name, kWorkingLinkExt),
                        *readFileIfExists(model.library().paths().linkFilePath(plan.folders[plan.bigFolder].Name,
                                                                       kSavedLinkExt)));
    return times;
}

std::vector<double> saveAfterEdits(const fs::path& home, const LibraryPlan& plan)
{
    const FixedClock clock(kBenchmarkToday);
    Library library(home, clock);
    loadTree(library);
    const std::vector<std::string> folders = foldersToEdit(plan);
    std::vector<double> times;
    for (int round = 0; round < kRuns; ++round) {
        addOneLinkEach(library, folders, round);
        library.AddFolderDescription(folders[0], "Description edited in round " + std::to_string(round));
        times.push_back(millisecondsOf([&] { library.SaveLibrary(); }));
        expectSaved(library, folders.back());
        expect(readFileIfExists(library.paths().libraryFile(kWorkingDescriptionFile))
                   == readFileIfExists(library.paths().libraryFile(kSavedDescriptionFile)),
               "the folder descriptions differ after the save");
    }
    return times;
}

std::vector<double> saveUnchanged(const fs::path& home, const LibraryPlan& plan)
{
    const FixedClock clock(kBenchmarkToday);
    Library library(home, clock);
    loadTree(library);
    // Whatever was left unsaved is saved first, so that the measured saves find nothing to do.
    library.SaveLibrary();
    const std::vector<std::string> folders = foldersToEdit(plan);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        times.push_back(millisecondsOf([&] { library.SaveLibrary(); }));
        expectSaved(library, folders.front());
    }
    return times;
}

std::vector<double> revertAfterEdits(const fs::path& home, const LibraryPlan& plan)
{
    const FixedClock clock(kBenchmarkToday);
    Library library(home, clock);
    loadTree(library);
    const std::vector<std::string> folders = foldersToEdit(plan);
    std::vector<double> times;
    for (int round = 0; round < kRuns; ++round) {
        addOneLinkEach(library, folders, 100 + round);
        times.push_back(millisecondsOf([&] { library.RevertLibrary({}); }));
        expectSaved(library, folders.front());
    }
    return times;
}

// The files that deleting a subtree changes, to be put back after each run.
struct FileSnapshot {
    fs::path path;
    std::optional<std::string> bytes;
};

std::vector<double> deleteArchiveSubtree(const fs::path& home, const LibraryPlan& plan)
{
    const FixedClock clock(kBenchmarkToday);
    Library library(home, clock);
    loadTree(library);
    const std::string& archiveName = plan.folders[plan.archiveFolder].Name;
    const std::size_t archive = library.folderTree().findExact(archiveName);
    expect(archive != TFolderTree::npos, "the archive folder is missing");
    std::vector<FileSnapshot> snapshot;
    for (std::string_view file : {kWorkingTreeFile, kWorkingDescriptionFile})
        snapshot.push_back({library.paths().libraryFile(file), std::nullopt});
    for (std::size_t i = archive; i < library.folderTree().subtreeEnd(archive); ++i)
        snapshot.push_back({library.paths().linkFilePath(library.folderTree()[i].Name, kWorkingLinkExt), std::nullopt});
    for (FileSnapshot& file : snapshot)
        file.bytes = readFileIfExists(file.path);

    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        loadTree(library);
        TFolderTree& tree = library.folderTree();
        const std::size_t index = tree.findExact(archiveName);
        expect(tree.subtreeEnd(index) - index == plan.options.archiveFolders, "the archive has another size");
        times.push_back(millisecondsOf([&] {
            tree.removeSubtree(index);
            library.SaveFolderTree(kWorkingTreeFile);
            library.PurgeDeletedFolders();
        }));
        expect(tree.count() == plan.folders.size() - plan.options.archiveFolders, "the subtree was not removed");
        expect(!fileExists(snapshot.back().path), "a deleted folder kept its link file");
        for (const FileSnapshot& file : snapshot) {
            if (file.bytes)
                writeFileAtomically(file.path, *file.bytes);
            else
                removeFileIfExists(file.path);
        }
    }
    return times;
}

} // namespace

std::vector<Benchmark> storeBenchmarks(const fs::path& home, const LibraryPlan& plan)
{
    const std::string bigFolder = formatCount(plan.linkCounts[plan.bigFolder]) + "-link folder";
    const std::string edited = std::to_string(kEditedFolders) + " link files";
    const std::string archive = std::to_string(plan.options.archiveFolders) + "-folder subtree";
    return {
        {"load tree and folder states", 20, [&plan, home] { return loadTreeAndStates(home, plan); }},
        {"start the main window (model)", 400, [&plan, home] { return startMainWindow(home, plan); }},
        {"show the " + bigFolder + ", sorted", 40,
         [&plan, home] { return selectBigFolder(home, plan); }},
        {"save after editing " + edited, kOneSecond, [&plan, home] { return saveAfterEdits(home, plan); }},
        {"save with nothing changed", kOneSecond, [&plan, home] { return saveUnchanged(home, plan); }},
        {"revert after editing " + edited, kOneSecond, [&plan, home] { return revertAfterEdits(home, plan); }},
        {"delete a " + archive, kOneSecond, [&plan, home] { return deleteArchiveSubtree(home, plan); }},
    };
}

} // namespace velloria::bench
