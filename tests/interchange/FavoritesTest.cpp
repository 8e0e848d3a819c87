// The favorites directory: shortcut files, reading a directory tree of them, and the export
// that replaces directory/Velloria.

#include "base/Error.h"
#include "interchange/Favorites.h"
#include "interchange/InterchangeTesting.h"
#include "platform/FileIO.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <unistd.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::filesBelow;
using test::RecordingSink;
using test::writeBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Contains;

std::string utf16le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(Shortcut, WritesTheTwoLinesAndReadsTheUrlOfItsSectionOnly)
{
    EXPECT_EQ(writeShortcutFile("http://a.example/?q=1&r=2"), "[InternetShortcut]\r\nURL=http://a.example/?q=1&r=2\r\n");
    const std::string longAddress = "http://long.example/" + std::string(5000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {writeShortcutFile(longAddress), longAddress},
        // In any order and case, after other sections, before others.
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nURL=http://other.example/\r\n"
         "[internetshortcut]\rIDList=\r url = http://right.example/ \r\n[Other]\nURL=http://after/\n", "http://right.example/"},
        {"\xEF\xBB\xBF[InternetShortcut]\nURL=http://bom.example/", "http://bom.example/"},
        {"[ InternetShortcut ]\n\tUrl=\thttp://tab.example/\t\n", "http://tab.example/"},
        {utf16le(u"[InternetShortcut]\r\nURL=http://caf\u00E9.example/\U0001F600\r\n"),
         "http://caf\xC3\xA9.example/\xF0\x9F\x98\x80"},
        // No URL in the section gives nothing.
        {"", ""},
        {"[InternetShortcut]\r\nIconFile=https://x.example/favicon.ico\r\nIconIndex=1\r\n", ""},
        {"URL=http://no-section.example/\r\n[DEFAULT]\r\nURL=http://default.example/\r\n", ""},
        {"[InternetShortcut]\r\nURLS=http://longer-key.example/\r\n", ""},
    };
    for (const auto& [bytes, address] : cases)
        EXPECT_EQ(readShortcutAddress(bytes), address) << bytes;
}

TEST(FavoritesImport, LinksBeforeSubfoldersInNameOrderWithoutLoopsAndMissingDirectoryEmpty)
{
    // A favorites tree with everything the import must get right.
    test::TempHome home;
    const fs::path root = home.path() / "Favs";
    writeBytes(root / "b.url", writeShortcutFile("http://b.example/"));
    writeBytes(root / "A.url", "[InternetShortcut]\nURL=https://a.example/\n");
    writeBytes(root / "Z.URL", writeShortcutFile("http://z.example/"));
    writeBytes(root / "Caf\xE9.url", writeShortcutFile("http://cafe.example/"));
    writeBytes(root / "mail.url", writeShortcutFile("mailto:me@example.com"));
    writeBytes(root / "www.url", writeShortcutFile("www.no-scheme.example"));
    writeBytes(root / "notes.txt", writeShortcutFile("http://not-a-shortcut.example/"));
    writeBytes(root / ".hidden" / "h.url", writeShortcutFile("http://hidden.example/"));
    writeBytes(root / "Sub1" / "x.url", writeShortcutFile("http://x.example/"));
    fs::create_directories(root / "sub2");
    fs::create_symlink("A.url", root / "Linked.url");
    fs::create_symlink("sub2", root / "alias");
    // Two loops back to directories being read: both are left out.
    fs::create_symlink(".", root / "loop");
    fs::create_symlink("..", root / "Sub1" / "up");
    RecordingSink sink;
    ImportIEFavorites(root.string() + "/", sink);
    EXPECT_THAT(sink.lines, ElementsAre("folder Favs", "link A | https://a.example/ | ",
                                        "link Caf\xC3\xA9 | http://cafe.example/ | ", "link Linked | https://a.example/ | ",
                                        "link Z | http://z.example/ | ", "link b | http://b.example/ | ",
                                        "folder Sub1", "link x | http://x.example/ | ", "end",
                                        "folder alias", "end", "folder sub2", "end", "end"));
    RecordingSink missing;
    ImportIEFavorites(home.path() / "Favorites", missing);
    EXPECT_THAT(missing.lines, ElementsAre("folder Favorites", "end"));
}

TEST(FavoritesImport, UnreadableShortcutStopsTheImport)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    test::TempHome home;
    writeBytes(home.path() / "Favs" / "a.url", writeShortcutFile("http://a.example/"));
    writeBytes(home.path() / "Favs" / "b.url", writeShortcutFile("http://b.example/"));
    ::chmod((home.path() / "Favs" / "b.url").c_str(), 0);
    RecordingSink sink;
    EXPECT_THROW(ImportIEFavorites(home.path() / "Favs", sink), Error);
    EXPECT_THAT(sink.lines, ElementsAre("folder Favs", "link a | http://a.example/ | "));
}

// The folders and links of each tree, and a link that shows it read right.
TEST(FavoritesImport, ReadsFavoritesWrittenByInternetExplorer)
{
    const fs::path samples = fs::path(VELLORIA_SAMPLES_DIR) / "ie";
    if (!fs::is_directory(samples))
        GTEST_SKIP() << "no sample trees at " << samples;
    const struct {
        const char* tree;
        long folders, links;
        std::string line;
    } expected[] = {
        {"assembled-single-shortcuts", 2, 3, "link Bing | http://go.microsoft.com/fwlink/p/?LinkId=255142 | "},
        {"nnajburg-favorites-win10", 2, 2, "link Pricer commun | http://pricer.cloudaers.fr.deloitte.com/ | "},
        // The tree, $RECYCLE.BIN, Links and Microsoft Websites; one of the 39 shortcuts of Links
        // has no URL.
        {"sgorain-favorites-win8", 4, 1 + 38 + 5, "link Suggested Sites (11) | https://ieonline.microsoft.com/#ieslice | "},
    };
    for (const auto& sample : expected) {
        RecordingSink sink;
        ImportIEFavorites(samples / sample.tree, sink);
        const auto count = [&](char first) {
            return std::count_if(sink.lines.begin(), sink.lines.end(), [&](auto& line) { return line[0] == first; });
        };
        EXPECT_EQ(count('f'), sample.folders) << sample.tree;
        EXPECT_EQ(count('l'), sample.links) << sample.tree;
        EXPECT_THAT(sink.lines, Contains(sample.line));
    }
}

const std::string kShortcutA = "[InternetShortcut]\r\nURL=http://a.example/\r\n";

// Titles become file names: cleaned, never empty, unique without regard to case, and cut at a
// character boundary ("\xE2\x82\xAC" is three bytes: 83 of them fill 249 of the 250 bytes).
TEST(FavoritesExport, WritesOneDirectoryPerFolderAndOneShortcutPerLink)
{
    test::TempHome home;
    const std::vector<ExportFolder> folders = {{"Top", 0}, {"Note.url", 1}, {"Sub", 1}, {"Deep", 2}, {"Other", 0}};
    std::string euros;
    for (int i = 0; i < 100; ++i)
        euros += "\xE2\x82\xAC";
    const auto links = [&](const std::string& folder) {
        const auto to = [](const std::string& title) { return ExportLink{title, "http://a.example/", ""}; };
        if (folder == "Top")
            return std::vector<ExportLink>{{"A/B: c?", "www.x.example", "d"}, to(" \t"), to("ab"), to("AB"), to("Ab"),
                                           to(".."), to("Caf\xE9"), to("Note")};
        if (folder == "Deep")
            return std::vector<ExportLink>{{euros, "mailto:me@example.com", ""}, to(euros)};
        return std::vector<ExportLink>{};
    };
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    ExportIEFavorites(home.path(), folders, links, [&](std::uint64_t done, std::uint64_t total) {
        progress.emplace_back(done, total);
    });
    const std::string top = "Velloria/Top/";
    const std::string deep = top + "Sub/Deep/";
    EXPECT_EQ(filesBelow(home.path()),
              (std::map<std::string, std::string>{
                  {"Velloria/", ""}, {top, ""}, {top + "Note.url/", ""}, {top + "Sub/", ""}, {deep, ""},
                  {"Velloria/Other/", ""},
                  {top + "AB c.url", "[InternetShortcut]\r\nURL=http://www.x.example\r\n"},
                  {top + "Link.url", kShortcutA}, {top + "ab.url", kShortcutA}, {top + "AB_1.url", kShortcutA},
                  {top + "Ab_2.url", kShortcutA}, {top + "Link_1.url", kShortcutA}, {top + "Caf\xC3\xA9.url", kShortcutA},
                  {top + "Note_1.url", kShortcutA}, // "Note.url" is the subfolder
                  {deep + euros.substr(0, 249) + ".url", "[InternetShortcut]\r\nURL=mailto:me@example.com\r\n"},
                  {deep + euros.substr(0, 240) + "_1.url", kShortcutA},
              }));
    EXPECT_EQ(progress, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
}

TEST(FavoritesExport, ReplacesTheOldExportOnlyWithoutFollowingLinksOut)
{
    test::TempHome home;
    const fs::path favorites = home.path() / "Favorites";
    const auto oneLink = [](const std::string&) { return std::vector<ExportLink>{{"a", "http://a.example/", ""}}; };
    ExportIEFavorites(favorites, {{"Old", 0}, {"Gone", 1}}, oneLink);
    writeBytes(home.path() / "outside" / "keep.txt", "mine");
    fs::create_symlink(home.path() / "outside", favorites / "Velloria" / "Old" / "link");
    writeBytes(favorites / "mine.url", "user's own");
    writeBytes(favorites / "Other" / "x.url", "user's own too");

    ExportIEFavorites(favorites, {{"New", 0}}, oneLink);
    EXPECT_EQ(filesBelow(home.path()),
              (std::map<std::string, std::string>{
                  {"Favorites/", ""}, {"Favorites/Velloria/", ""}, {"Favorites/Velloria/New/", ""},
                  {"Favorites/Velloria/New/a.url", kShortcutA}, {"Favorites/mine.url", "user's own"},
                  {"Favorites/Other/", ""}, {"Favorites/Other/x.url", "user's own too"},
                  {"outside/", ""}, {"outside/keep.txt", "mine"}}));
    // A failure to create the directory is reported.
    writeBytes(home.path() / "file", "not a directory");
    EXPECT_THAT(test::errorOf([&] { ExportIEFavorites(home.path() / "file" / "Favorites", {{"F", 0}}, oneLink); }),
                HasSubstr("Cannot create directory \"" + (home.path() / "file" / "Favorites").string() + "\""));
}

} // namespace
} // namespace velloria
