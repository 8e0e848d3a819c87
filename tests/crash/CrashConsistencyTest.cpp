// Kills the program in the middle of its work and checks that the library survives.
//
// A fixed sequence of steps (editing commands, save, an import, revert) is first run to the end,
// keeping a snapshot of the home after each step. Then, many times over, one step is run again
// from its starting snapshot in a child process that is killed with SIGKILL at a random moment
// of the step. Afterwards:
//   - every library file holds either its content before the step or its content after it
//     (a file that is missing must be missing before or after the step);
//   - the library loads, and the start removes the temporary files a killed write left;
//   - no saved link is lost: every link that both snapshots hold in the saved generation is
//     still there after the library is loaded and reverted to its last save.
//
// Usage: velloria_crash_test [--runs N] [--seed S]

#include "base/Clock.h"
#include "interchange/Import.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "platform/UrlOpener.h"
#include "platform/FileIO.h"
#include "settings/HomeSetup.h"
#include "store/FolderTreeFile.h"
#include "store/Library.h"
#include "store/LinkFile.h"
#include "support/TempHome.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace velloria;

namespace {

using Snapshot = std::map<std::string, std::string>; // path relative to the home -> bytes

class QuietOpener : public UrlOpener {
public:
    void open(const std::string&) override {}
    void openInNewWindow(const std::string&) override {}
};

// Answers every question with Yes, so that deleting goes ahead.
class YesView : public MainWindowObserver {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
};

bool isTemporary(const fs::path& path)
{
    const std::string name = path.filename().string();
    return name.starts_with(".vtmp-") || name == ".velloria.lock" || name == kSaveInProgressFile;
}

Snapshot snapshotOf(const fs::path& home)
{
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        if (entry.is_regular_file() && !isTemporary(entry.path()))
            files[fs::relative(entry.path(), home).generic_string()] = readFile(entry.path());
    return files;
}

void restore(const fs::path& home, const Snapshot& files)
{
    fs::remove_all(home);
    for (const auto& [relative, bytes] : files) {
        fs::create_directories((home / relative).parent_path());
        std::ofstream(home / relative, std::ios::binary) << bytes;
    }
}

// The program over a home: a started main window model.
struct Program {
    explicit Program(const fs::path& home) : model(home, clock, opener, home)
    {
        model.setObserver(&view);
        model.lifecycle().FormCreate();
    }
    FixedClock clock{{2026, 12, 7}};
    QuietOpener opener;
    YesView view;
    MainWindowModel model;

    void select(std::string_view folder) { model.tree().selectFolder(model.library().folderTree().findExact(folder)); }
    void selectRows(std::size_t first, std::size_t count)
    {
        std::vector<std::size_t> rows;
        for (std::size_t row = first; row < first + count && row < model.library().linkList().size(); ++row)
            rows.push_back(row);
        model.list().selectRows(rows, rows.empty() ? 0 : rows.front());
    }
};

struct Step {
    std::string name;
    std::function<void(Program&)> run;
};

std::vector<Step> steps(const fs::path& importFile)
{
    return {
        {"add a link", [](Program& p) { p.select("Folder 3"); p.model.editing().addLink("A new link", "https://new.example/", "new"); }},
        {"add a folder", [](Program& p) { p.select("Folder 4"); p.model.editing().addFolder("Fresh folder", "made now"); }},
        {"edit a link",
         [](Program& p) {
             p.select("Folder 5");
             p.selectRows(7, 1);
             p.model.editing().editLink("Edited title", "https://edited.example/", "edited");
         }},
        {"delete links", [](Program& p) { p.select("Folder 6"); p.selectRows(10, 40); p.model.deleting().deleteSelectedLinks(); }},
        {"move links",
         [](Program& p) {
             p.select("Folder 7");
             p.selectRows(0, 30);
             p.model.clipboard().EditCutExecute();
             p.select("Folder 8");
             p.model.clipboard().EditPasteExecute();
         }},
        {"rename a folder", [](Program& p) { p.select("Folder 9"); p.model.editing().editFolder("Folder 9 renamed", "renamed"); }},
        {"delete a folder", [](Program& p) { p.select("Folder 10"); p.model.deleting().deleteSelectedFolder(); }},
        {"move a folder",
         [](Program& p) {
             const auto& tree = p.model.library().folderTree();
             p.model.reordering().trvFoldersDragDrop(tree.findExact("Folder 12"), tree.findExact("Folder 2"));
         }},
        {"save", [](Program& p) { p.model.lifecycle().saveLibrary(); }},
        {"import", [importFile](Program& p) { importSource(p.model, ImportSource::Netscape, importFile); }},
        {"sort by address and save", [](Program& p) { p.select("Folder 11"); p.model.execute(Command::ViewSortByAddress); p.model.lifecycle().saveLibrary(); }},
        // Showing a folder writes its link file again in the order of the sort now chosen.
        {"show a folder sorted", [](Program& p) { p.select("Folder 13"); }},
        {"delete links elsewhere", [](Program& p) { p.select("Folder 13"); p.selectRows(0, 5); p.model.deleting().deleteSelectedLinks(); }},
        {"revert", [](Program& p) { p.model.lifecycle().revertLibrary(); }},
    };
}

// A saved library of 40 folders (some nested) of 150 links each.
void makeLibrary(const fs::path& home)
{
    fs::create_directories(home / "RefLib" / "Links");
    std::vector<TFolderRecord> tree{{.Name = "Main"}};
    for (int folder = 1; folder <= 40; ++folder) {
        const std::string name = "Folder " + std::to_string(folder);
        tree.push_back({.Name = name, .Level = folder % 5 == 0 ? 2 : 1});
        TLinkList links;
        std::vector<std::string> descriptions;
        for (int link = 0; link < 150; ++link) {
            const std::string id = std::to_string(folder) + "-" + std::to_string(link);
            links.push_back({.Title = "Link " + id, .Address = "https://site" + id + ".example/page?x=" + id,
                             .LastVisit = "2026.3.4", .AddDate = "2025.1.2"});
            descriptions.push_back("About link " + id);
        }
        writeFileAtomically(home / "RefLib" / "Links" / (name + ".wnl"), writeLinkFile(links, descriptions));
    }
    writeFileAtomically(home / "RefLib" / "folders.wnf", writeFolderTree(tree));
    Program program(home);
    program.model.lifecycle().saveLibrary();
}

void writeImportFile(const fs::path& path)
{
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n";
    for (int folder = 0; folder < 4; ++folder) {
        html += "<DT><H3>Imported " + std::to_string(folder) + "</H3>\n<DL><p>\n";
        for (int link = 0; link < 1500; ++link)
            html += "<DT><A HREF=\"https://imported.example/" + std::to_string(folder) + "/" + std::to_string(link) +
                    "\">Imported link " + std::to_string(link) + "</A>\n";
        html += "</DL><p>\n";
    }
    html += "</DL><p>\n";
    std::ofstream(path, std::ios::binary) << html;
}

// Title and address of every link that a generation's tree names, counted.
std::map<std::pair<std::string, std::string>, int> linksOf(const Snapshot& files, bool saved)
{
    std::map<std::pair<std::string, std::string>, int> links;
    const auto tree = files.find(saved ? "RefLib/folders.~wnf" : "RefLib/folders.wnf");
    if (tree == files.end())
        return links;
    for (const TFolderRecord& folder : parseFolderTree(tree->second).records) {
        const auto file = files.find("RefLib/Links/" + folder.Name + (saved ? ".~wnl" : ".wnl"));
        if (file != files.end())
            for (const TLinkRecord& link : parseLinkFile(file->second).links)
                ++links[{link.Title, link.Address}];
    }
    return links;
}

class Checker {
public:
    void require(bool condition, const std::string& what)
    {
        if (!condition && m_failures++ < 20)
            std::cerr << "FAILED: " << what << '\n';
    }
    int failures() const { return m_failures; }

private:
    int m_failures = 0;
};

void checkAfterKill(Checker& check, const fs::path& home, const Snapshot& before, const Snapshot& after,
                    const std::string& run)
{
    const Snapshot left = snapshotOf(home);
    for (const auto& [path, bytes] : left) {
        const auto old = before.find(path);
        const auto now = after.find(path);
        check.require((old != before.end() && old->second == bytes) || (now != after.end() && now->second == bytes),
                      run + ": " + path + " is neither its previous nor its new content");
    }
    for (const auto& [path, bytes] : before)
        check.require(left.contains(path) || !after.contains(path), run + ": " + path + " vanished");

    std::map<std::pair<std::string, std::string>, int> kept;
    const auto savedBefore = linksOf(before, true);
    const auto savedAfter = linksOf(after, true);
    for (const auto& [link, count] : savedBefore)
        if (const auto it = savedAfter.find(link); it != savedAfter.end())
            kept[link] = std::min(count, it->second);

    try {
        // What the program and the tool do at their start, holding the instance lock.
        removeUnfinishedWrites(home);
        Program program(home);
        bool temporaryLeft = false;
        for (const auto& entry : fs::recursive_directory_iterator(home / "RefLib"))
            temporaryLeft |= entry.path().filename().string().starts_with(".vtmp-");
        check.require(!temporaryLeft, run + ": temporary files remain after the start");
        program.model.lifecycle().revertLibrary();
    } catch (const std::exception& error) {
        check.require(false, run + ": the library does not load or revert: " + error.what());
        return;
    }
    const auto reverted = linksOf(snapshotOf(home), false);
    for (const auto& [link, count] : kept) {
        const auto it = reverted.find(link);
        check.require(it != reverted.end() && it->second >= count,
                      run + ": saved link \"" + link.first + "\" lost");
    }
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 260;
    unsigned seed = 20261207;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs")
            runs = std::atoi(argv[i + 1]);
        else if (option == "--seed")
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    }

    test::TempHome work;
    const fs::path home = work.path() / "home";
    const fs::path importFile = work.path() / "bookmarks.html";
    writeImportFile(importFile);
    makeLibrary(home);

    // The whole sequence, to the end: the state before each step and how long the step took.
    const std::vector<Step> sequence = steps(importFile);
    std::vector<Snapshot> states{snapshotOf(home)};
    std::vector<double> seconds;
    for (const Step& step : sequence) {
        Program program(home);
        const auto start = std::chrono::steady_clock::now();
        step.run(program);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        states.push_back(snapshotOf(home));
    }

    Checker check;
    std::mt19937 random(seed);
    int interrupted = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t index = static_cast<std::size_t>(run) % sequence.size();
        restore(home, states[index]);
        int ready[2];
        if (pipe(ready) != 0)
            return 2;
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            Program program(home);
            const char go = 'g';
            if (write(ready[1], &go, 1) != 1)
                _exit(3);
            sequence[index].run(program);
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
        check.require(started && (killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)),
                      "run " + std::to_string(run) + ": the child failed on its own");
        interrupted += killed ? 1 : 0;
        checkAfterKill(check, home, states[index], states[index + 1],
                       "run " + std::to_string(run) + " (" + sequence[index].name + ")");
    }

    std::cout << runs << " runs of " << sequence.size() << " steps, " << interrupted
              << " killed during the step, seed " << seed << ": "
              << (check.failures() ? std::to_string(check.failures()) + " failures" : "the library survived every kill")
              << '\n';
    return check.failures() ? 1 : 0;
}
