#include "crash/CrashHarness.h"

#include "interchange/Import.h"
#include "mainwindow/DuplicatesDialog.h"
#include "mainwindow/ItemEditing.h"
#include "settings/HomeSetup.h"
#include "store/FolderTreeFile.h"
#include "store/LibraryPaths.h"
#include "store/LinkFile.h"

#include <iostream>

namespace fs = std::filesystem;

namespace velloria::crash {

namespace {

int failures = 0;

using LinkCounts = std::map<std::pair<std::string, std::string>, int>; // title, address -> count

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

fs::path writeImportFile(const fs::path& path)
{
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n";
    for (int folder = 0; folder < 4; ++folder) {
        html += "<DT><H3>Imported " + std::to_string(folder) + "</H3>\n<DL><p>\n";
        for (int link = 0; link < 1500; ++link)
            html += "<DT><A HREF=\"https://imported.example/" + std::to_string(folder) + "/" + std::to_string(link)
                + "\">Imported link " + std::to_string(link) + "</A>\n";
        html += "</DL><p>\n";
    }
    test::writeBytes(path, html + "</DL><p>\n");
    return path;
}

} // namespace

Program::Program(const fs::path& home) : model(home, clock, opener, home)
{
    startHome(home, HomeHeld::Yes);
    model.setObserver(this);
    model.lifecycle().FormCreate();
}

MainWindowModel& Program::show(std::string_view folder, std::size_t first, std::size_t count)
{
    model.tree().selectFolder(model.library().folderTree().findExact(folder));
    std::vector<std::size_t> rows;
    for (std::size_t row = first; row < first + count && row < model.library().linkList().size(); ++row)
        rows.push_back(row);
    if (!rows.empty())
        model.list().selectRows(rows, rows.front());
    return model;
}

std::vector<Operation> operations(const fs::path& importFile)
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
        // Link 1 of folders 30 to 34 repeats link 0 of folder 30. A file the dialog cannot read is
        // named under its groups, as the window names it.
        {"delete duplicates",
         [](Program& p) {
             DuplicatesDialog dialog(p.show("Folder 31"));
             if (dialog.summary().find('\n') != std::string::npos)
                 throw Error(dialog.summary());
             dialog.deleteChecked();
         }},
        // Check Links' Update Address: link 2 of folders 35 to 39 moved.
        {"update addresses",
         [](Program& p) {
             const TFolderTree& tree = p.model.library().folderTree();
             const LibraryLinks links = readLibraryLinks(p.model.library(), tree.findExact("Folder 35"), tree.findExact("Folder 40"));
             if (!links.problems.empty()) // the dialog names a file it could not read under the list
                 throw Error(links.problems.front());
             std::vector<ItemEditing::LinkChange> changes;
             for (const LibraryLink& link : links.links)
                 if (link.row == 2)
                     changes.push_back({.link = link, .address = "https://moved.example/" + std::string(link.link.Title)});
             const std::vector<bool> made = p.show("Folder 36").editing().changeLinks(changes);
             if (std::count(made.begin(), made.end(), true) != 5)
                 throw Error("not every link was updated");
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

Scenario::Scenario(const test::TempHome& temporaryHome, const fs::path& work, int linksPerFolder)
    : home(temporaryHome.path()), sequence(operations(writeImportFile(work / "bookmarks.html")))
{
    test::SmallLibrary library{.tree = {"Main"}, .saved = false};
    for (int folder = 1; folder <= 40; ++folder) {
        const std::string name = "Folder " + std::to_string(folder);
        library.tree.push_back((folder % 5 == 0 ? "\t\t" : "\t") + name);
        for (int link = 0; link < linksPerFolder; ++link) {
            const std::string id = std::to_string(folder) + "-" + std::to_string(link);
            library.links[name].push_back({"Link " + id, "https://site" + id + ".example/page?x=" + id,
                                           "2026.3.4", "2025.1.2", "About link " + id});
        }
        if (folder >= 30 && folder < 35 && linksPerFolder > 1)
            library.links[name][1] = {"Again", "https://site30-0.example/page?x=30-0", "", "2025.1.3", "again"};
    }
    test::writeLibrary(temporaryHome, library);
    Program(home).model.lifecycle().saveLibrary();
    states.push_back(snapshotOf(home));
    for (const Operation& operation : sequence) {
        Program program(home);
        operation.second(program);
        states.push_back(snapshotOf(home));
    }
}

void Scenario::restore(std::size_t operation) const
{
    fs::remove_all(home);
    for (const auto& [relative, bytes] : states[operation])
        test::writeBytes(home / relative, bytes);
}

Snapshot snapshotOf(const fs::path& home)
{
    Snapshot files = test::filesBelow(home);
    std::erase_if(files, [](const auto& file) {
        const std::string name = fs::path(file.first).filename().string();
        return file.first.ends_with('/') || name.starts_with(".vtmp-") || name == ".velloria.lock";
    });
    return files;
}

void require(bool condition, const std::string& what)
{
    if (!condition && failures++ < 20)
        std::cerr << "FAILED: " << what << '\n';
}

int failureCount()
{
    return failures;
}

void checkInterrupted(const fs::path& home, const Snapshot& before, const Snapshot& after, const std::string& run)
{
    const Snapshot left = snapshotOf(home);
    for (const auto& [path, bytes] : left)
        require((before.contains(path) && before.at(path) == bytes) || (after.contains(path) && after.at(path) == bytes)
                    || path.ends_with(kSaveInProgressFile),
                run + ": " + path + " is neither its previous nor its new content");
    for (const auto& [path, bytes] : before)
        require(left.contains(path) || !after.contains(path), run + ": " + path + " vanished");
    try {
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
        require(reverted[link] >= std::min(count, savedAfter[link]), run + ": saved link \"" + link.first + "\" lost");
}

} // namespace velloria::crash
