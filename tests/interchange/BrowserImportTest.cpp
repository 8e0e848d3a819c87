// Bookmarks read straight from the browsers' own stores (a Firefox database, a Chromium
// Bookmarks file), the profiles found on a computer, and XBEL both ways.

#include "base/Error.h"
#include "interchange/BrowserProfiles.h"
#include "interchange/ChromiumBookmarks.h"
#include "interchange/Export.h"
#include "interchange/FirefoxPlaces.h"
#include "interchange/Import.h"
#include "interchange/XbelFile.h"
#include "platform/FileIO.h"
#include "support/BrowserStores.h"
#include "support/Fixtures.h"
#include "support/RecordingSink.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::PlacesFile;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Noon UTC, so that the local date is the same in every time zone of the tests' machines.
constexpr std::int64_t k2021_3_4 = 1614859200;
constexpr std::int64_t k2022_7_15 = 1657886400;
constexpr std::int64_t k2019_1_2 = 1546430400;

template <typename Read> Lines recorded(Read&& read)
{
    RecordingSink sink;
    read(sink);
    return sink.lines;
}

class BrowserImportTest : public test::WindowTest {
protected:
    BrowserImportTest() { open({"000 1.0", "037 True", "040 0"}); }
    fs::path file(const std::string& name) const { return home.path() / name; }
    // Every file of the library, to show that a failed import changed nothing.
    std::map<std::string, std::string> library() const { return home.snapshot(); }
};

// A profile's database as Firefox fills it: the four roots, nested folders, a separator, a
// query, tags and a keyword, titles in many scripts.
void fillPlaces(PlacesFile& places)
{
    const std::int64_t news = places.folder(PlacesFile::kMenu, "News & Views", k2019_1_2);
    const std::int64_t paper = places.bookmark(news, "Z\xC3\xBCrich \xE6\x9D\xB1\xE4\xBA\xAC \"Paper\"",
                                               "https://paper.example/?a=1&b=2", k2021_3_4, k2022_7_15);
    places.tag(paper, "news");
    places.tag(paper, "daily");
    places.keyword(paper, "pp");
    places.separator(news);
    places.bookmark(news, "Most Visited", "place:sort=8&maxResults=10", k2021_3_4);
    const std::int64_t deep = places.folder(news, "Deep");
    places.bookmark(places.folder(deep, "Deeper"), "", "https://untitled.example/", k2021_3_4);
    places.folder(news, "Empty");
    places.bookmark(PlacesFile::kToolbar, "Mail", "https://mail.example/", k2022_7_15);
    places.bookmark(PlacesFile::kToolbar, "Docs", "https://docs.example/");
    // Moved in front of Mail, as a drag in Firefox moves it.
    places.exec("UPDATE moz_bookmarks SET position = 1 - position WHERE parent = 3");
}

TEST_F(BrowserImportTest, FirefoxRootsFoldersDatesTagsAndKeywordsReachTheSinkInFirefoxsOrder)
{
    {
        PlacesFile places(file("places.sqlite"));
        fillPlaces(places);
    }
    ImportCounts counts;
    const Lines lines = recorded([&](ImportSink& sink) { counts = ImportFirefoxPlaces(file("places.sqlite"), sink); });
    EXPECT_THAT(lines,
                ElementsAre("folder Bookmarks Menu", "folder News & Views",
                            "link Z\xC3\xBCrich \xE6\x9D\xB1\xE4\xBA\xAC \"Paper\" | https://paper.example/?a=1&b=2 | "
                            "Tags: daily, news; Keyword: pp | added 2021.3.4 | visited 2022.7.15",
                            "folder Deep", "folder Deeper",
                            // No title of its own: the page's title.
                            "link page title of  | https://untitled.example/ |  | added 2021.3.4", "end", "end",
                            "folder Empty", "end", "end", "end", "folder Bookmarks Toolbar",
                            "link Docs | https://docs.example/ | ", "link Mail | https://mail.example/ |  | added 2022.7.15",
                            "end"));
    // The empty roots (other, mobile) are left out; the query is counted, the separator not.
    EXPECT_EQ(counts, (ImportCounts{.folders = 6, .links = 4, .skipped = {{SkipReason::NotWebAddress, 1}}}));
}

// A running Firefox holds its database exclusively and keeps new bookmarks in its log until
// it writes them back: the import takes them in and leaves the browser's files untouched.
TEST_F(BrowserImportTest, ALockedDatabaseIsReadWithWhatItsLogHoldsAndLeftAsItWas)
{
    const fs::path profile = file("firefox/abc.default-release");
    fs::create_directories(profile);
    {
        PlacesFile places(profile / "places.sqlite");
        places.bookmark(PlacesFile::kToolbar, "Written back", "https://old.example/", k2021_3_4);
    }
    PlacesFile running = PlacesFile::open(profile / "places.sqlite");
    running.holdLikeARunningBrowser();
    running.bookmark(PlacesFile::kToolbar, "Only in the log", "https://new.example/", k2022_7_15);
    ASSERT_TRUE(test::isLockedByAnother(profile / "places.sqlite"));
    ASSERT_GT(fs::file_size(profile / "places.sqlite-wal"), 0u);
    const std::map<std::string, std::string> before = test::filesBelow(profile);

    const ImportReport report = importProfile(model, profileAt(BrowserKind::Firefox, profile));
    EXPECT_EQ(report.topFolder, "Firefox (abc.default-release)");
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other", "Firefox (abc.default-release)",
                             ".Bookmarks Toolbar"}));
    EXPECT_THAT(linksOf("Bookmarks Toolbar"), ElementsAre("Only in the log https://new.example/",
                                                          "Written back https://old.example/"));
    EXPECT_EQ(home.read("Links/Bookmarks Toolbar.wnl"),
              test::crlf({"0 Only in the log", "1 https://new.example/", "2  ", "3 2022.7.15", "4 ", "0 Written back",
                          "1 https://old.example/", "2  ", "3 2021.3.4", "4 "}));
    EXPECT_EQ(test::filesBelow(profile), before);
}

TEST_F(BrowserImportTest, AStoreThatCannotBeReadIsAnErrorAndAddsNothing)
{
    test::writeBytes(file("places.sqlite"), std::string(4096, 'x'));
    test::writeBytes(file("Bookmarks"), "{\"roots\": {\"bookmark_bar\": {\"children\": [ {\"type\": \"url\", ");
    test::writeBytes(file("NotBookmarks"), "{\"version\": 1}");
    test::writeBytes(file("damaged.xbel"), "<xbel><folder><title>A</title><bookmark href=\"x\"></folder></xbel>");
    test::writeBytes(file("other.xml"), "<opml><body/></opml>");
    const auto before = library();
    const struct {
        std::function<void()> import;
        std::string message;
    } cases[] = {
        {[&] { importProfile(model, profileAt(BrowserKind::Firefox, file("places.sqlite"))); }, "not a database"},
        {[&] { importProfile(model, profileAt(BrowserKind::Chromium, file("Bookmarks"))); }, "Bookmarks file is damaged"},
        {[&] { importProfile(model, profileAt(BrowserKind::Chromium, file("NotBookmarks"))); }, "has no \"roots\""},
        {[&] { importSource(model, ImportSource::Xbel, file("damaged.xbel")); }, "The XBEL file is damaged"},
        {[&] { importSource(model, ImportSource::Xbel, file("other.xml")); }, "not an XBEL file"},
        {[&] { importSource(model, ImportSource::Xbel, file("gone.xbel")); }, "gone.xbel"},
        {[&] { profileAt(BrowserKind::Firefox, file("no-profile")); }, "does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            c.import();
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message));
        }
        EXPECT_EQ(library(), before);
    }
    EXPECT_EQ(tree().back(), "Other");
}

TEST_F(BrowserImportTest, ChromiumRootsFoldersAndDatesReachTheSink)
{
    // Dates in microseconds since 1601: 2021-03-04, 2022-07-15 and 2019-01-02 at noon UTC.
    const std::string bytes = R"({"checksum": "0f", "roots": {
        "bookmark_bar": {"children": [
            {"date_added": "13259332800000000", "date_last_used": "13302360000000000",
             "name": "Caf\u00e9 \"quoted\" \\ back", "type": "url", "url": "https://cafe.example/"},
            {"children": [
                {"children": [], "name": "Empty", "type": "folder"},
                {"date_added": "13259332800000000", "name": "", "type": "url", "url": "https://untitled.example/"},
                {"name": "No address", "type": "url", "url": ""},
                {"name": "W", "type": "workspace"}],
             "date_added": "13190904000000000", "name": "Work", "type": "folder"}],
            "name": "Lesezeichenleiste", "type": "folder"},
        "other": {"children": [{"meta_info": {"last_visited_desktop": "13302360000000000"}, "name": "Line\nbreak",
                                "type": "url", "url": "https://other.example/"}], "name": "", "type": "folder"},
        "synced": {"children": [], "name": "Mobile bookmarks", "type": "folder"}},
        "version": 1})";
    ImportCounts counts;
    const Lines lines = recorded([&](ImportSink& sink) { counts = readChromiumBookmarks(bytes, sink); });
    EXPECT_THAT(lines, ElementsAre("folder Lesezeichenleiste",
                                   "link Caf\xC3\xA9 \"quoted\" \\ back | https://cafe.example/ |  | added 2021.3.4 | "
                                   "visited 2022.7.15",
                                   "folder Work", "folder Empty", "end", "link  | https://untitled.example/ |  | added 2021.3.4",
                                   "end", "end", "folder Other bookmarks",
                                   "link Line break | https://other.example/ |  | visited 2022.7.15", "end"));
    EXPECT_EQ(counts, (ImportCounts{.folders = 4, .links = 3,
                                    .skipped = {{SkipReason::UnknownEntry, 1}, {SkipReason::NoAddress, 1}}}));
}

// Large and deep stores arrive whole, through the library, in both browsers' forms.
TEST_F(BrowserImportTest, TwentyThousandLinksAndDeepNestingArriveWhole)
{
    constexpr int kLinks = 20000;
    constexpr int kDepth = 60;
    std::string json = R"({"roots": {"bookmark_bar": {"name": "Bar", "type": "folder", "children": [)";
    {
        PlacesFile places(file("places.sqlite"));
        places.begin();
        std::int64_t parent = PlacesFile::kMenu;
        for (int level = 0; level < kDepth; ++level) {
            parent = places.folder(parent, "Level " + std::to_string(level));
            json += R"({"type": "folder", "name": "Level )" + std::to_string(level) + R"(", "children": [)";
        }
        for (int i = 0; i < kLinks; ++i) {
            const std::string title = "Link \xE2\x84\x96" + std::to_string(i);
            const std::string address = "https://example.com/" + std::to_string(i);
            places.bookmark(parent, title, address, k2021_3_4);
            json += (i == 0 ? R"({"type": "url", "name": ")" : R"(, {"type": "url", "name": ")") + title
                    + R"(", "url": ")" + address + R"("})";
        }
        places.commit();
    }
    for (int level = 0; level <= kDepth; ++level)
        json += "]}";
    test::writeBytes(file("Bookmarks"), json + "}}");
    for (const BrowserKind kind : {BrowserKind::Firefox, BrowserKind::Chromium}) {
        const fs::path store = file(kind == BrowserKind::Firefox ? "places.sqlite" : "Bookmarks");
        const ImportReport report = importProfile(model, profileAt(kind, store));
        EXPECT_EQ(report.counts.links, static_cast<std::size_t>(kLinks));
        EXPECT_EQ(report.counts.folders, static_cast<std::size_t>(kDepth + 1));
        const TFolderTree& folders = model.library().folderTree();
        const std::size_t top = folders.findExact(report.topFolder);
        ASSERT_NE(top, TFolderTree::npos);
        EXPECT_EQ(folders[folders.subtreeEnd(top) - 1].Level, kDepth + 1);
        const Lines links = linksOf(folders[folders.subtreeEnd(top) - 1].Name);
        ASSERT_EQ(links.size(), static_cast<std::size_t>(kLinks));
        EXPECT_EQ(links.front(), "Link \xE2\x84\x96" "0 https://example.com/0"); // sorted by title
    }
}

TEST(BrowserProfiles, FindsEveryProfileWithItsNameAndTheDefaultFirst)
{
    test::TempHome home;
    const BrowserPlaces places{home.path(), home.path() / "config"};
    const fs::path firefox = home.path() / ".mozilla/firefox";
    test::writeBytes(firefox / "profiles.ini",
                     "[Install4F96D1932A9F858E]\nDefault=b.default-release\nLocked=1\n\n"
                     "[Profile1]\nName=default\nIsRelative=1\nPath=a.default\nDefault=1\n\n"
                     "[Profile0]\nName=default-release\nIsRelative=1\nPath=b.default-release\n\n"
                     "[Profile2]\nName=gone\nIsRelative=1\nPath=c.gone\n\n[General]\nStartWithLastProfile=1\n");
    for (const char* profile : {"a.default", "b.default-release"})
        test::writeBytes(firefox / profile / "places.sqlite", "");
    const fs::path snap = home.path() / "snap/firefox/common/.mozilla/firefox";
    test::writeBytes(snap / "profiles.ini", "[Profile0]\r\nName=snappy\r\nIsRelative=1\r\nPath=s.snap\r\nDefault=1\r\n");
    test::writeBytes(snap / "s.snap/places.sqlite", "");
    const fs::path brave = places.config / "BraveSoftware/Brave-Browser";
    test::writeBytes(brave / "Local State",
                     R"({"profile": {"last_used": "Profile 2", "info_cache": {"Default": {"name": "Personal"},
                         "Profile 2": {"name": "Work"}, "Profile 10": {"name": "Tenth"}}}})");
    for (const char* profile : {"Default", "Profile 10", "Profile 2", "Profile 3"})
        test::writeBytes(brave / profile / "Bookmarks", "{}");
    fs::create_directories(brave / "System Profile"); // no Bookmarks file
    test::writeBytes(home.path() / ".var/app/org.chromium.Chromium/config/chromium/Default/Bookmarks", "{}");

    Lines found;
    for (const BrowserProfile& profile : findBrowserProfiles(places))
        found.push_back(profile.browser + " | " + profile.name + " | "
                        + fs::relative(profile.bookmarks, home.path()).string() + (profile.isDefault ? " | default" : ""));
    EXPECT_THAT(found, ElementsAre("Firefox | default-release | .mozilla/firefox/b.default-release/places.sqlite | default",
                                   "Firefox | default | .mozilla/firefox/a.default/places.sqlite",
                                   "Firefox snap | snappy | snap/firefox/common/.mozilla/firefox/s.snap/places.sqlite | default",
                                   "Chromium flatpak | Default | .var/app/org.chromium.Chromium/config/chromium/Default/Bookmarks | default",
                                   "Brave | Work | config/BraveSoftware/Brave-Browser/Profile 2/Bookmarks | default",
                                   "Brave | Personal | config/BraveSoftware/Brave-Browser/Default/Bookmarks",
                                   "Brave | Profile 3 | config/BraveSoftware/Brave-Browser/Profile 3/Bookmarks",
                                   "Brave | Tenth | config/BraveSoftware/Brave-Browser/Profile 10/Bookmarks"));
    const std::vector<BrowserProfile> profiles = findBrowserProfiles(places);
    EXPECT_EQ(profileFolderName(*defaultProfile(profiles, BrowserKind::Chromium)), "Chromium flatpak (Default)");
    EXPECT_EQ(profileFolderName(*defaultProfile(profiles, BrowserKind::Firefox)), "Firefox (default-release)");
    EXPECT_FALSE(defaultProfile({}, BrowserKind::Firefox));
}

TEST_F(BrowserImportTest, XbelFoldersBookmarksAndDatesReachTheSink)
{
    const std::string bytes = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE xbel PUBLIC "+//IDN python.org//DTD XML Bookmark Exchange Language 1.0//EN//XML" "http://pyxml.sourceforge.net/topics/dtds/xbel.dtd">
<xbel version="1.0">
  <title>Mine</title>
  <folder folded="no" added="2019-01-02">
    <title>Caf&#233; &amp; <![CDATA[<Bar>]]></title>
    <desc>Where to eat</desc>
    <bookmark href="https://cafe.example/?a=1&amp;b=2" added="2021-03-04T12:00:00Z" visited="2022-07-15">
      <title>Menu "today"</title>
      <desc>Two
lines</desc>
    </bookmark>
    <separator/>
    <alias ref="b1"/>
    <bookmark><title>No address</title></bookmark>
    <folder><title>Empty</title></folder>
  </folder>
  <bookmark href="https://loose.example/"/>
  <info><metadata owner="x"/></info>
  <newthing/>
</xbel>)";
    ImportCounts counts;
    const Lines lines = recorded([&](ImportSink& sink) { counts = readXbelFile(bytes, sink); });
    EXPECT_THAT(lines, ElementsAre("folder Caf\xC3\xA9 & <Bar> | Where to eat",
                                   "link Menu \"today\" | https://cafe.example/?a=1&b=2 | Two lines | added 2021.3.4 | "
                                   "visited 2022.7.15",
                                   "folder Empty", "end", "end", "link  | https://loose.example/ | "));
    EXPECT_EQ(counts, (ImportCounts{.folders = 2, .links = 2,
                                    .skipped = {{SkipReason::UnknownEntry, 2}, {SkipReason::NoAddress, 1}}}));
}

TEST(XbelDates, IsoDatesAndTimesBecomeLocalDates)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const struct {
        std::string_view text;
        std::optional<Date> date;
    } cases[] = {
        {"2024-03-07", Date{2024, 3, 7}},
        {" 2024-03-07T10:00:00 ", Date{2024, 3, 7}},      // local time
        {"2024-03-07T23:30:00Z", Date{2024, 3, 8}},        // past midnight in Berlin
        {"2024-03-07T00:30:00+02:00", Date{2024, 3, 6}},   // 22:30 UTC the day before: 23:30 in Berlin
        {"2024-03-07T23:30:00.123-05:00", Date{2024, 3, 8}},
        {"2024-03-07 12:00", Date{2024, 3, 7}},
        {"2024-13-07", std::nullopt},
        {"2024-03-07T25", std::nullopt},
        {"2024-03-07Tlate", std::nullopt},
        {"2024-03-07T10:00:00+2", std::nullopt},
        {"1614859200", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseIsoDate(c.text), c.date) << c.text;
    unsetenv("TZ");
    tzset();
}

// What the library exports as XBEL comes back as the same tree, descriptions and links.
TEST_F(BrowserImportTest, AnXbelExportImportsBackIntoTheSameTreeAndLinks)
{
    home.write("Links/A1.wnl", test::linkFile({{"Tom & \"Jerry\" <3>", "https://tj.example/?a=1&b=2", "2022.7.15",
                                               "2021.3.4", "Desc with <tags> &\x01 control"},
                                              {"Caf\xE9 1252", "ftp://files.example/", " ", "2019.1.2", ""}}));
    exportTarget(model, ImportSource::Xbel, file("out.xbel"));
    const std::string xml = test::readBytes(file("out.xbel"));
    EXPECT_THAT(xml, HasSubstr("<bookmark href=\"https://tj.example/?a=1&amp;b=2\" added=\"2021-03-04\" "
                               "visited=\"2022-07-15\">"));
    EXPECT_THAT(xml, HasSubstr("<title>Tom &amp; \"Jerry\" &lt;3&gt;</title>"));

    // A library of its own imports the file: the same folders, descriptions, links and dates.
    test::TempHome other;
    test::writeLibrary(other, {.tree = {"Start"}});
    test::writeBytes(other.path() / "Tessel.cfg", test::crlf({"000 1.0", "037 True", "040 0"}));
    MainWindowModel fresh(other.path(), clock, opener, "/home/user");
    fresh.lifecycle().FormCreate();
    importSource(fresh, ImportSource::Xbel, file("out.xbel"));
    Lines folders;
    for (const TFolderRecord& folder : fresh.library().folderTree().records())
        folders.push_back(std::string(static_cast<std::size_t>(folder.Level), '.') + folder.Name);
    EXPECT_EQ(folders, (Lines{"Start", "XBEL", ".Top", "..A", "...A1", "...A2", "..B", ".Other"}));
    EXPECT_EQ(other.read("folddesc.wnf"), test::crlf({"XBEL", "XBEL", "Top", "The top", "A", "", "A1", "", "A2", "",
                                                      "B", "Bee", "Other", ""}));
    // Windows-1252 became UTF-8 and the control character, which XML cannot carry, went; an
    // address without a scheme was written as every export writes it.
    EXPECT_EQ(other.read("Links/A1.wnl"),
              test::crlf({"0 Caf\xC3\xA9 1252", "1 ftp://files.example/", "2  ", "3 2019.1.2", "4 ",
                          "0 Tom & \"Jerry\" <3>", "1 https://tj.example/?a=1&b=2", "2 2022.7.15", "3 2021.3.4",
                          "4 Desc with <tags> & control"}));
    EXPECT_EQ(other.read("Links/B.wnl"),
              test::crlf({"0 Alpha", "1 http://a.example/path", "2 2026.10.1", "3 2026.1.1", "4 first by title",
                          "0 mid", "1 mailto:mid@example.org", "2 2026.9.30", "3 2026.1.2", "4 middle", "0 zeta",
                          "1 https://z.example/", "2  ", "3 2026.1.3", "4 last by title"}));
}

} // namespace
} // namespace velloria
