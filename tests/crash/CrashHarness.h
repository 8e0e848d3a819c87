#pragma once

// What the crash tests share: a saved library, the operations they interrupt, and the checks of
// what a crash, a power loss or a failed write leaves.

#include "base/Clock.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "support/LibraryFiles.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace velloria::crash {

using Snapshot = std::map<std::string, std::string>; // path relative to the home -> bytes

// The program as it starts (the home's start with its clean-up, then the window model), every
// question answered Yes.
struct Program : MainWindowObserver {
    explicit Program(const std::filesystem::path& home);
    Answer ask(const std::string&) override { return Answer::Yes; }
    // Shows the folder and selects count of its links from the first given, as far as they go.
    MainWindowModel& show(std::string_view folder, std::size_t first = 0, std::size_t count = 0);

    FixedClock clock{{2026, 12, 7}};
    RecordingUrlOpener opener;
    MainWindowModel model;
};

using Operation = std::pair<std::string, std::function<void(Program&)>>; // name, what it does

// Editing commands, save, import and revert, each run on the home the ones before it left.
std::vector<Operation> operations(const std::filesystem::path& importFile);

// A saved library of 40 folders (some nested) with linksPerFolder links each, a bookmark file to
// import beside it, and the home's files before each operation and after the last.
struct Scenario {
    Scenario(const test::TempHome& home, const std::filesystem::path& work, int linksPerFolder);
    void restore(std::size_t operation) const; // the home as it was before the operation
    std::filesystem::path home;
    std::vector<Operation> sequence;
    std::vector<Snapshot> states;
};

// The home's files; not directories, the instance lock, nor the files of a write in progress.
Snapshot snapshotOf(const std::filesystem::path& home);

// Counts what failed, printing the first few.
void require(bool condition, const std::string& what);
int failureCount();

// After an interrupted operation: every file holds its content from before or after it (or is
// missing in one), the program starts (removing what the interruption left) and reverts, and
// every link both saved generations hold survives.
void checkInterrupted(const std::filesystem::path& home, const Snapshot& before, const Snapshot& after,
                      const std::string& run);

} // namespace velloria::crash
