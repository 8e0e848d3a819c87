#include "LinkCheckBenchmarks.h"

#include "Measure.h"
#include "WindowModel.h"

#include "mainwindow/LinkCheckDialog.h"
#include "platform/FileIO.h"
#include "store/LibraryPaths.h"
#include "support/WebServer.h"

#include <stdexcept>
#include <thread>

namespace velloria::bench {

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = static_cast<int>(kMinimumRuns);
constexpr std::size_t kLinks = 1000;
constexpr std::size_t kFolders = 10;
constexpr std::size_t kHosts = 16;
// What each answer of the server waits, as a server far away would.
constexpr std::chrono::milliseconds kAnswerDelay{10};

void expect(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

// A library of its own in <home>/linkcheck: ten folders of a hundred links to pages of the
// server, under sixteen host names that all stand for 127.0.0.1.
fs::path libraryOfLinks(const fs::path& home, const test::WebServer& server, const std::string& page,
                        HttpCheckOptions& options)
{
    const fs::path copy = home / "linkcheck";
    fs::remove_all(copy);
    const LibraryPaths paths(copy);
    fs::create_directories(copy / "RefLib" / "Links");
    std::string tree;
    for (std::size_t host = 0; host < kHosts; ++host)
        options.fixedHosts.push_back("site" + std::to_string(host) + ".test:" + std::to_string(server.port()) + ":127.0.0.1");
    for (std::size_t folder = 0; folder < kFolders; ++folder) {
        const std::string name = "Folder " + std::to_string(folder);
        tree += name + "\r\n";
        TLinkList links;
        for (std::size_t row = 0; row < kLinks / kFolders; ++row) {
            const std::size_t i = folder * (kLinks / kFolders) + row;
            links.push_back({.Title = "Page " + std::to_string(i),
                             .Address = "http://site" + std::to_string(i % kHosts) + ".test:" + std::to_string(server.port())
                                        + page + "?" + std::to_string(i)});
        }
        const std::string bytes = writeLinkFile(links, std::vector<std::string>(links.size()));
        writeFileAtomically(paths.linkFilePath(name, kWorkingLinkExt), bytes);
    }
    writeFileAtomically(copy / "RefLib" / "folders.wnf", tree);
    return copy;
}

// Tools > Check Links over the whole library, to the results shown.
std::vector<double> checkThousandLinks(const fs::path& home)
{
    const test::WebServer server(kAnswerDelay);
    HttpCheckOptions options;
    const fs::path copy = libraryOfLinks(home, server, "/ok", options);
    WindowModel window(copy);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    window.model.flags().CheckWholeLibrary = true;
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        LinkCheckDialog dialog(window.model);
        times.push_back(millisecondsOf([&] {
            dialog.start(options);
            while (!dialog.collect())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }));
        expect(dialog.summary().starts_with("Checked: 1000. Broken: 0. Moved: 0. Errors: 0. OK: 1000."), dialog.summary());
    }
    return times;
}

// Cancel while sixteen requests wait for pages that do not answer: the time until the results
// are in.
std::vector<double> cancelACheck(const fs::path& home)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const test::WebServer server;
        HttpCheckOptions options;
        const fs::path copy = libraryOfLinks(home, server, "/slow", options);
        WindowModel window(copy);
        window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
        window.model.flags().CheckWholeLibrary = true;
        LinkCheckDialog dialog(window.model);
        dialog.start(options);
        while (server.record().requests.size() < options.jobs)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        times.push_back(millisecondsOf([&] {
            dialog.cancel();
            while (!dialog.collect())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }));
        expect(dialog.done() == 0, "a slow page answered");
    }
    return times;
}

} // namespace

std::vector<Benchmark> linkCheckBenchmarks(const fs::path& home, const LibraryPlan&)
{
    return {
        {"check 1,000 links (16 at a time, answers after 10 ms)", 2000, [home] { return checkThousandLinks(home); }},
        {"cancel a check with 16 requests waiting", 500, [home] { return cancelACheck(home); }},
    };
}

} // namespace velloria::bench
