// Kills the program with SIGKILL at random moments of a fixed sequence of steps (editing, save, an
// import, revert), each rerun in a child from the home as it was before it; then every library file
// holds its content from before or after the step (or is missing in one), the library loads, its
// start removes what a killed write left, and every link both saved generations hold survives a revert.
// Usage: velloria_crash_test [--runs N] [--seed S]

#include "base/Clock.h"
#include "interchange/Import.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "settings/HomeSetup.h"
#include "store/FolderTreeFile.h"
#include "store/LibraryPaths.h"
#include "store/LinkFile.h"
#include "support/LibraryFiles.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace velloria;

namespace {

using Snapshot = std::map<std::string, std::string>; // path relative to the home -> bytes
using LinkCounts = std::map<std::pair<std::string, std::string>, int>; // title, address -> count

// The files of the home; not the directories, nor the files of a write or a save in progress.
Snapshot snapshotOf(const fs::path& home)
{
    Snapshot files = test::filesBelow(home);
    std::erase_if(files, [](const auto& file) {
        const std::string name = fs::path(file.first).filename().string();
        return file.first.ends_with('/') || name.starts_with(".vtmp-") || name == ".velloria.lock"
            || name == kSaveInProgressFile;
    });
    return files;
}

// The program: a started main window model over a home; every question is answered Yes.
struct Program : MainWindowObserver {
    explicit Program(const fs::path& home) : model(home, clock, opener, home)
    {
        model.setObserver(this);
        model.lifecycle().FormCreate();
    }
    Answer ask(const std::string&) override { return Answer::Yes; }
    FixedClock clock{{2026, 12, 7}};
    RecordingUrlOpener opener;
    MainWindowModel model;

    // Shows the folder and selects count of its links from the first given, as far as they go.
    MainWindowModel& show(std::string_view folder, std::size_t first = 0, std::size_t count = 0)
    {
        model.tree().selectFolder(model.library().folderTree().findExact(folder));
        std::vector<std::size_t> rows;
        for (std::size_t row = first; row < first + count && row < model.library().linkList().size(); ++row)
            rows.push_back(row);
        if (!rows.empty())
            model.list().selectRows(rows, rows.front());
        return model;
    }
};

using Step = std::pair<std::string, std::function<void(Program&)>>; // name, what it does

std::vector<Step> steps(const fs::path& importFile)
{
    return {
        {"add a link",
         [](Program& p) { p.show("Folder 3").editing().addLink("A new link", "https://new.example/", "new"); }},
        {"add a folder", [](Program& p) { p.show("Folder 4").editing().addFolder("Fresh folder", "made now"); }},
        {"edit a link",
         [](Program& p) { p.show("Folder 5", 7, 1).editing().editLink("Edited title", "https://edited.example/", "edited"); }},
        {"delete links", [](Program& p) { p.show("Folder 6", 10, 40).deleting().deleteSelectedLinks(); }},
        {"move links",
         [](Program& p) {
             p.show("Folder 7", 0, 30).clipboard().EditCutExecute();
             p.show("Folder 8").clipboard().EditPasteExecute();
         }},
        {"rename a folder", [](Program& p) { p.show("Folder 9").editing().editFolder("Folder 9 renamed", "renamed"); }},
        {"delete a folder", [](Program& p) { p.show("Folder 10").deleting().deleteSelectedFolder(); }},
        {"move a folder",
         [](Program& p) {
             const auto& tree = p.model.library().folderTree();
             p.model.reordering().trvFoldersDragDrop(tree.findExact("Folder 12"), tree.findExact("Folder 2"));
         }},
        {"save", [](Program& p) { p.model.lifecycle().saveLibrary(); }},
        {"import", [importFile](Program& p) { importSource(p.model, ImportSource::Netscape, importFile); }},
        {"sort by address and save",
         [](Program& p) {
             p.show("Folder 11").execute(Command::ViewSortByAddress);
             p.model.lifecycle().saveLibrary();
         }},
        // Showing a folder writes its link file again in the order of the sort now chosen.
        {"show a folder sorted", [](Program& p) { p.show("Folder 13"); }},
        {"delete links elsewhere", [](Program& p) { p.show("Folder 13", 0, 5).deleting().deleteSelectedLinks(); }},
        {"revert", [](Program& p) { p.model.lifecycle().revertLibrary(); }},
    };
}

// A saved library of 40 folders (some nested) of 150 links each.
void makeLibrary(const test::TempHome& home)
{
    test::SmallLibrary library{.tree = {"Main"}, .saved = false};
    for (int folder = 1; folder <= 40; ++folder) {
        const std::string name = "Folder " + std::to_string(folder);
        library.tree.push_back((folder % 5 == 0 ? "\t\t" : "\t") + name);
        for (int link = 0; link < 150; ++link) {
            const std::string id = std::to_string(folder) + "-" + std::to_string(link);
            library.links[name].push_back({"Link " + id, "https://site" + id + ".example/page?x=" + id,
                                           "2026.3.4", "2025.1.2", "About link " + id});
        }
    }
    test::writeLibrary(home, library);
    Program(home.path()).model.lifecycle().saveLibrary();
}

fs::path writeImportFile(const fs::path& path)
{
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n";
    for (int folder = 0; folder < 4; ++folder) {
        html += "<DT><H3>Imported " + std::to_string(folder) + "</H3>\n<DL><p>\n";
        for (int link = 0; link < 1500; ++link)
            html += "<DT><A HREF=\"https://imported.example/" + std::to_string(folder) + "/" + std::to_string(link) +
                    "\">Imported link " + std::to_string(link) + "</A>\n";
        html += "</DL><p>\n";
    }
    test::writeBytes(path, html + "</DL><p>\n");
    return path;
}

// Title and address of every link that a generation's tree names, counted.
LinkCounts linksOf(const Snapshot& files, bool saved)
{
    const auto bytesOf = [&](const std::string& file) { return files.contains(file) ? files.at(file) : ""; };
    const std::string dot = saved ? ".~" : ".";
    LinkCounts links;
    for (const TFolderRecord& folder : parseFolderTree(bytesOf("RefLib/folders" + dot + "wnf")).records) {
        for (const TLinkRecord& link : parseLinkFile(bytesOf("RefLib/Links/" + folder.Name + dot + "wnl")).links)
            ++links[{link.Title, link.Address}];
    }
    return links;
}

int failures = 0;

void require(bool condition, const std::string& what)
{
    if (!condition && failures++ < 20)
        std::cerr << "FAILED: " << what << '\n';
}

void checkAfterKill(const fs::path& home, const Snapshot& before, const Snapshot& after, const std::string& run)
{
    const Snapshot left = snapshotOf(home);
    for (const auto& [path, bytes] : left)
        require((before.contains(path) && before.at(path) == bytes)
                    || (after.contains(path) && after.at(path) == bytes),
                run + ": " + path + " is neither its previous nor its new content");
    for (const auto& [path, bytes] : before)
        require(left.contains(path) || !after.contains(path), run + ": " + path + " vanished");
    try {
        // What the program and the tool do at their start, holding the instance lock.
        removeUnfinishedWrites(home);
        Program program(home);
        for (const auto& [path, bytes] : test::filesBelow(home / "RefLib"))
            require(!fs::path(path).filename().string().starts_with(".vtmp-"),
                    run + ": the temporary file " + path + " remains after the start");
        program.model.lifecycle().revertLibrary();
    } catch (const std::exception& error) {
        require(false, run + ": the library does not load or revert: " + error.what());
        return;
    }
    // A link both saved generations hold, as many times as both hold it.
    LinkCounts savedAfter = linksOf(after, true);
    LinkCounts reverted = linksOf(snapshotOf(home), false);
    for (const auto& [link, count] : linksOf(before, true))
        require(reverted[link] >= std::min(count, savedAfter[link]),
                run + ": saved link \"" + link.first + "\" lost");
}

} // namespace

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
    const fs::path home = library.path();
    const fs::path importFile = writeImportFile(work.path() / "bookmarks.html");
    makeLibrary(library);

    // The whole sequence, to the end: the state before each step and how long the step took.
    const std::vector<Step> sequence = steps(importFile);
    std::vector<Snapshot> states{snapshotOf(home)};
    std::vector<double> seconds;
    for (const Step& step : sequence) {
        Program program(home);
        const auto start = std::chrono::steady_clock::now();
        step.second(program);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        states.push_back(snapshotOf(home));
    }

    std::mt19937 random(seed);
    int interrupted = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t index = static_cast<std::size_t>(run) % sequence.size();
        const std::string name = "run " + std::to_string(run);
        fs::remove_all(home);
        for (const auto& [relative, bytes] : states[index])
            test::writeBytes(home / relative, bytes);
        int ready[2];
        if (pipe(ready) != 0)
            return 2;
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            Program program(home);
            if (write(ready[1], "g", 1) != 1)
                _exit(3);
            sequence[index].second(program);
            _exit(0);
        }
        close(ready[1]);
        char go = 0;
        const bool started = read(ready[0], &go, 1) == 1;
        close(ready[0]);
        // A moment within the step's time, a little past it now and then.
        std::uniform_real_distribution<double> moment(0.0, seconds[index] * 1.1);
        std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        require(started && (killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)),
                      name + ": the child failed on its own");
        interrupted += killed ? 1 : 0;
        checkAfterKill(home, states[index], states[index + 1], name + " (" + sequence[index].first + ")");
    }

    std::cout << runs << " runs of " << sequence.size() << " steps, " << interrupted << " killed during the step, seed "
              << seed << ": " << (failures ? std::to_string(failures) + " failures" : "the library survived every kill")
              << '\n';
    return failures ? 1 : 0;
}
