#include "InterchangeBenchmarks.h"

#include "Measure.h"
#include "SampleText.h"
#include "WindowModel.h"

#include "interchange/BrowserProfiles.h"
#include "interchange/Export.h"
#include "interchange/HtmlPage.h"
#include "interchange/Import.h"
#include "platform/FileIO.h"
#include "store/LinkFile.h"
#include "support/BrowserStores.h"
#include "tools/Statistics.h"

#include <cstdlib>
#include <functional>
#include <unistd.h>
#include <stdexcept>

namespace velloria::bench {

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = static_cast<int>(kMinimumRuns);
constexpr std::size_t kSingleFolderLinks = 20000;

fs::path interchangeDirectory(const fs::path& home)
{
    return home / "interchange";
}

void expect(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

// The text as a bookmark file holds it: the four characters escaped.
void appendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

// A favicon as browsers embed it: a data URI of about a kilobyte.
std::string sampleIcon(Random& random)
{
    static constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string icon = "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQ";
    const std::size_t length = 600 + random.below(800);
    for (std::size_t i = 0; i < length; ++i)
        icon += kBase64[random.below(kBase64.size())];
    return icon + "==";
}

// The links of a generated file: the plan's links, with entities and query strings added.
struct GeneratedLink {
    std::string title;
    std::string address;
};

GeneratedLink generatedLink(Random& random, const SampleLink& sample)
{
    GeneratedLink link{sample.record.Title, sample.record.Address};
    if (random.chance(20))
        link.title += " & more";
    if (random.chance(10))
        link.title = "\"" + link.title + "\"";
    if (random.chance(30))
        link.address += "?id=" + std::to_string(random.below(100000)) + "&lang=en";
    return link;
}

class BookmarkFileWriter {
public:
    explicit BookmarkFileWriter(std::uint32_t seed) : m_random(seed)
    {
        m_html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- This is an automatically generated file.\n"
                 "     It will be read and overwritten.\n     DO NOT EDIT! -->\n"
                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                 "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    }

    void open(int level, const std::string& name)
    {
        indent(level + 1);
        m_html += "<DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1710000000\">";
        appendEscaped(m_html, name);
        m_html += "</H3>\n";
        indent(level + 1);
        m_html += "<DL><p>\n";
        m_expected += "folder\t" + name + "\n";
    }

    void link(int level, const GeneratedLink& link)
    {
        indent(level + 1);
        m_html += "<DT><A HREF=\"";
        appendEscaped(m_html, link.address);
        m_html += "\" ADD_DATE=\"1700000123\"";
        if (m_random.chance(25))
            m_html += " ICON=\"" + sampleIcon(m_random) + "\"";
        m_html += ">";
        appendEscaped(m_html, link.title);
        m_html += "</A>\n";
        m_expected += link.title + '\t' + link.address + '\n';
    }

    void close(int level)
    {
        indent(level + 1);
        m_html += "</DL><p>\n";
    }

    std::string html() { return std::move(m_html) + "</DL><p>\n"; }
    const std::string& expected() const { return m_expected; }
    Random& random() { return m_random; }

private:
    void indent(int level) { m_html.append(static_cast<std::size_t>(level) * 4, ' '); }

    Random m_random;
    std::string m_html;
    std::string m_expected;
};

void writeWholeLibraryFile(const fs::path& directory, const LibraryPlan& plan)
{
    BookmarkFileWriter writer(plan.options.seed);
    std::vector<int> openLevels;
    for (std::size_t folder = 0; folder < plan.folders.size(); ++folder) {
        const int level = plan.folders[folder].Level;
        while (!openLevels.empty() && openLevels.back() >= level) {
            writer.close(openLevels.back());
            openLevels.pop_back();
        }
        writer.open(level, plan.folders[folder].Name);
        openLevels.push_back(level);
        for (const TLinkRecord& record : makeFolderLinks(plan, folder).links)
            writer.link(level + 1, generatedLink(writer.random(), {record, ""}));
    }
    while (!openLevels.empty()) {
        writer.close(openLevels.back());
        openLevels.pop_back();
    }
    writeFileAtomically(directory / "library.html", writer.html());
    writeFileAtomically(directory / "library.expected", writer.expected());
}

void writeSingleFolderFile(const fs::path& directory, std::uint32_t seed)
{
    BookmarkFileWriter writer(seed + 1);
    writer.open(0, "Bookmarks bar");
    for (std::size_t i = 0; i < kSingleFolderLinks; ++i)
        writer.link(1, generatedLink(writer.random(), sampleLink(writer.random())));
    writer.close(0);
    writeFileAtomically(directory / "single.html", writer.html());
    writeFileAtomically(directory / "single.expected", writer.expected());
}

// The text in JSON quotes.
std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// The generated library as a browser keeps it: every folder below the browser's first root (the
// menu, the bookmarks bar), in a Firefox profile's database and a Chromium profile's Bookmarks
// file, with the expected lines of the import (the root first).
void writeBrowserStores(const fs::path& directory, const LibraryPlan& plan)
{
    constexpr std::int64_t kAdded = 1700000123;
    const std::string chromiumAdded = std::to_string((kAdded + 11644473600LL) * 1000000);
    const fs::path firefox = directory / "firefox-profile";
    const fs::path chromium = directory / "chromium-profile";
    fs::create_directories(firefox);
    fs::create_directories(chromium);
    test::PlacesFile places(firefox / "places.sqlite");
    std::string json = R"({"checksum": "0", "roots": {"bookmark_bar": {"name": "Bookmarks bar", "type": "folder", )"
                       R"("children": [)";
    places.begin();
    std::string expected;
    std::vector<std::int64_t> parents{test::PlacesFile::kMenu};
    std::vector<bool> listHasItems{false}; // per open folder: a comma before its next item
    const auto item = [&](const std::string& text) {
        json += (listHasItems.back() ? "," : "") + text;
        listHasItems.back() = true;
    };
    for (std::size_t folder = 0; folder < plan.folders.size(); ++folder) {
        for (const auto level = static_cast<std::size_t>(plan.folders[folder].Level); parents.size() > level + 1;
             parents.pop_back(), listHasItems.pop_back())
            json += "]}";
        const std::string& name = plan.folders[folder].Name;
        parents.push_back(places.folder(parents.back(), name, kAdded));
        item(R"({"type": "folder", "date_added": ")" + chromiumAdded + R"(", "name": )" + jsonString(name)
             + R"(, "children": [)");
        listHasItems.push_back(false);
        expected += "folder\t" + name + "\n";
        for (const TLinkRecord& link : makeFolderLinks(plan, folder).links) {
            places.bookmark(parents.back(), link.Title, link.Address, kAdded);
            item(R"({"type": "url", "date_added": ")" + chromiumAdded + R"(", "name": )" + jsonString(link.Title)
                 + R"(, "url": )" + jsonString(link.Address) + "}");
            expected += link.Title + '\t' + link.Address + '\n';
        }
    }
    for (; parents.size() > 1; parents.pop_back())
        json += "]}";
    places.commit();
    writeFileAtomically(chromium / "Bookmarks", json + "]}}, \"version\": 1}\n");
    writeFileAtomically(directory / "firefox.expected", "folder\tBookmarks Menu\n" + expected);
    writeFileAtomically(directory / "chromium.expected", "folder\tBookmarks bar\n" + expected);
}

// The folders and links of the import's subtree, in the form of the expected file: each folder
// with its links sorted the way the import sorts them (by title, as the benchmark model does).
std::string importedSubtree(const MainWindowModel& model, std::size_t top)
{
    std::string lines;
    const TFolderTree& tree = model.library().folderTree();
    for (std::size_t folder = top + 1; folder < tree.subtreeEnd(top); ++folder) {
        lines += "folder\t" + tree[folder].Name + '\n';
        const auto bytes = readFileIfExists(model.library().paths().linkFilePath(tree[folder].Name, kWorkingLinkExt));
        for (const TLinkRecord& link : parseLinkFile(bytes.value_or("")).links)
            lines += link.Title + '\t' + link.Address + '\n';
    }
    return lines;
}

// The expected lines with each folder's links put in title order.
std::string sortedExpectation(const std::string& expected)
{
    std::string result;
    TLinkList links;
    const auto flush = [&] {
        for (std::size_t row : sortedOrder(links, static_cast<int>(SortMode::Title), false))
            result += links[row].Title + '\t' + links[row].Address + '\n';
        links.clear();
    };
    std::size_t start = 0;
    while (start < expected.size()) {
        const std::size_t end = expected.find('\n', start);
        const std::string line = expected.substr(start, end - start);
        start = end + 1;
        const std::size_t tab = line.find('\t');
        if (line.rfind("folder\t", 0) == 0) {
            flush();
            result += line + '\n';
        } else {
            links.push_back({.Title = line.substr(0, tab), .Address = line.substr(tab + 1)});
        }
    }
    flush();
    return result;
}

// Imports into a fresh home per run, and checks the imported folders and links against the
// expected file. With save, the library is saved after the import, as the command-line tool does.
std::vector<double> importRuns(const fs::path& home, const std::string& expectedName,
                               const std::function<std::string(MainWindowModel&)>& importOnce, bool save)
{
    const std::string expected = sortedExpectation(readFile(interchangeDirectory(home) / expectedName));
    // Each run imports into a home of its own, and the homes stay until the benchmark's own home
    // goes at the end: ext4 looks past every inode freed in the last minute when it creates a
    // file, so files removed just before a run (or before the next import's runs) would make its
    // thousands of new files slower to create.
    std::vector<fs::path> homes;
    for (int run = 0; run < kRuns; ++run) {
        homes.push_back(interchangeDirectory(home) / ("import-" + expectedName + "-" + std::to_string(run)));
        fs::remove_all(homes.back());
        fs::create_directories(homes.back());
    }
    ::sync();
    std::vector<double> times;
    for (const fs::path& fresh : homes) {
        WindowModel window(fresh);
        window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
        std::string top;
        times.push_back(millisecondsOf([&] {
            top = importOnce(window.model);
            if (save)
                window.model.lifecycle().saveLibrary();
        }));
        const std::size_t topIndex = window.model.library().folderTree().findExact(top);
        expect(topIndex != TFolderTree::npos, "the import made no top-level folder");
        expect(importedSubtree(window.model, topIndex) == expected, "the imported folders or links differ from the source");
    }
    return times;
}

std::vector<double> importFile(const fs::path& home, const std::string& name)
{
    const fs::path file = interchangeDirectory(home) / (name + ".html");
    return importRuns(
        home, name + ".expected",
        [&](MainWindowModel& model) { return importSource(model, ImportSource::Netscape, file).topFolder; }, false);
}

std::vector<double> importProfileOf(const fs::path& home, BrowserKind kind)
{
    const bool firefox = kind == BrowserKind::Firefox;
    const BrowserProfile profile =
        profileAt(kind, interchangeDirectory(home) / (firefox ? "firefox-profile" : "chromium-profile"));
    return importRuns(
        home, firefox ? "firefox.expected" : "chromium.expected",
        [&](MainWindowModel& model) { return importProfile(model, profile).topFolder; }, true);
}

std::size_t occurrences(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// The links a written export holds: the entries of a file, the shortcuts of a directory.
std::size_t linksExported(ImportSource target, const fs::path& location)
{
    switch (target) {
    case ImportSource::Netscape: return occurrences(readFile(location), "<DT><A HREF=\"");
    case ImportSource::Opera: return occurrences(readFile(location), "\n#URL");
    case ImportSource::Xbel: return occurrences(readFile(location), "<bookmark ");
    case ImportSource::InternetExplorer: break;
    }
    std::size_t shortcuts = 0;
    for (const auto& entry : fs::recursive_directory_iterator(location))
        shortcuts += entry.is_regular_file() && entry.path().extension() == ".url" ? 1 : 0;
    return shortcuts;
}

// Every link of the library, as the statistics count them; the editing benchmarks have added a
// few to the generated ones.
std::size_t linksOfLibrary(const MainWindowModel& model)
{
    const std::optional<std::size_t> links = computeStatistics(model.library()).links;
    expect(links && *links > 0, "the library's links cannot be counted");
    return *links;
}

std::vector<double> exportTo(const fs::path& home, ImportSource target, const std::string& name)
{
    WindowModel window(home);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    const std::size_t links = linksOfLibrary(window.model);
    const fs::path location = interchangeDirectory(home) / name;
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        times.push_back(millisecondsOf([&] { exportTarget(window.model, target, location); }));
        const std::size_t exported = linksExported(target, location);
        expect(exported == links, "the export holds " + std::to_string(exported) + " links of " + std::to_string(links));
    }
    return times;
}

std::vector<double> writeThePage(const fs::path& home)
{
    WindowModel window(home);
    window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
    const std::size_t links = linksOfLibrary(window.model);
    const fs::path location = interchangeDirectory(home) / "page.html";
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove(location);
        times.push_back(millisecondsOf([&] {
            writeHtmlPage(window.model.library(), window.model.prefs(), location, std::nullopt, defaultColourResolver);
        }));
        const std::size_t rows = occurrences(readFile(location), "bordercolor=\"#FFFFFF\"><a href=\"");
        expect(rows == links, "the page shows " + std::to_string(rows) + " links of " + std::to_string(links));
    }
    return times;
}

} // namespace

void writeBookmarkFiles(const fs::path& home, const LibraryPlan& plan)
{
    const fs::path directory = interchangeDirectory(home);
    fs::create_directories(directory);
    writeWholeLibraryFile(directory, plan);
    writeSingleFolderFile(directory, plan.options.seed);
    writeBrowserStores(directory, plan);
}

std::vector<Benchmark> interchangeBenchmarks(const fs::path& home, const LibraryPlan& plan)
{
    const std::string links = formatCount(plan.linkCount());
    return {
        {"import " + links + "-link bookmark file", 500, [home] { return importFile(home, "library"); }, 100},
        {"import 20,000-link single folder", 250, [home] { return importFile(home, "single"); }, 100},
        {"import " + links + " links from Firefox's places.sqlite, with the save", 500,
         [home] { return importProfileOf(home, BrowserKind::Firefox); }, 100},
        {"import " + links + " links from Chromium's Bookmarks file, with the save", 300,
         [home] { return importProfileOf(home, BrowserKind::Chromium); }, 100},
        {"export to a bookmark file", 300, [home] { return exportTo(home, ImportSource::Netscape, "export.html"); }},
        {"export to a hotlist", 300, [home] { return exportTo(home, ImportSource::Opera, "export.adr"); }},
        {"export to an XBEL file", 300, [home] { return exportTo(home, ImportSource::Xbel, "export.xbel"); }},
        {"export to a favorites directory", 300,
         [home] { return exportTo(home, ImportSource::InternetExplorer, "favorites"); }},
        {"write the HTML page", 300, [home] { return writeThePage(home); }},
    };
}

} // namespace velloria::bench
