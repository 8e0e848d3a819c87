// The import driver: where imported folders go, their names and descriptions, the files each
// import writes, the preferences of the dialog, and what stays after an error or a cancel.

#include "base/Error.h"
#include "interchange/Export.h"
#include "interchange/Import.h"
#include "support/Fixtures.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using test::Lines;

class ImportTest : public test::WindowTest {
protected:
    ImportTest() { open({"000 1.0", "037 True", "040 0"}); }
    fs::path writeSource(const std::string& name, const std::string& bytes) const
    {
        test::writeBytes(home.path() / name, bytes);
        return home.path() / name;
    }
};

constexpr const char* kNews = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                              "<DT><H3>News</H3>\n<DL><p>\n"
                              "<DT><A HREF=\"https://paper.example/\">Paper</A>\n"
                              "<DT><A HREF=\"https://daily.example/\">Daily</A>\n"
                              "<DT><H3>Top</H3>\n<DL><p>\n"
                              "<DT><A HREF=\"http://deep.example/\">Deep</A>\n"
                              "</DL><p>\n</DL><p>\n"
                              "<DT><A HREF=\"https://loose.example/\">Loose</A>\n"
                              "</DL><p>\n";

TEST_F(ImportTest, SourceBecomesANewTopLevelFolderWithItsFoldersLinksAndDescriptions)
{
    const std::string top = importSource(model, ImportSource::Netscape, writeSource("b.html", kNews));
    EXPECT_EQ(top, "Netscape");
    // "Top" is taken (in another case too), so the source's folder gets a suffix but keeps its
    // own name as description.
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other", "Netscape", ".News", "..Top_1"}));
    EXPECT_EQ(home.read("folders.wnf"),
              test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other", "Netscape", "\tNews", "\t\tTop_1"}));
    EXPECT_EQ(home.read("folddesc.wnf"),
              test::crlf({"Top", "The top", "B", "Bee", "Netscape", "Netscape", "News", "News", "Top_1", "Top"}));
    // Each folder's links in the order of the sort by title, dated today and never visited.
    EXPECT_THAT(linksOf("Netscape"), ElementsAre("Loose https://loose.example/"));
    EXPECT_THAT(linksOf("News"), ElementsAre("Daily https://daily.example/", "Paper https://paper.example/"));
    EXPECT_THAT(linksOf("Top_1"), ElementsAre("Deep http://deep.example/"));
    EXPECT_EQ(home.read("Links/Top_1.wnl"), test::crlf({"0 Deep", "1 http://deep.example/", "2  ", "3 2026.12.5", "4 "}));
    // The reader leaves the import's own folder selected, and the window shows it.
    EXPECT_EQ(model.tree().selectedFolder(), 6u);
    EXPECT_EQ(titles(), (Lines{"Loose"}));
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_THAT(model.lifecycle().newFolders(), ElementsAre("Netscape", "News", "Top_1"));
    // A second import numbers the top folder.
    EXPECT_EQ(importSource(model, ImportSource::Netscape, home.path() / "b.html"), "Netscape_1");
    EXPECT_EQ(tree().back(), "..Top_2");
}

TEST_F(ImportTest, AMissingFileGivesAnEmptyFolderOfTheSource)
{
    EXPECT_EQ(importSource(model, ImportSource::Opera, home.path() / "nowhere.adr"), "Opera");
    EXPECT_EQ(tree().back(), "Opera");
    EXPECT_EQ(home.read("Links/Opera.wnl"), "");
}

TEST_F(ImportTest, FolderNamesFromFilesAreCleanedAndNeverLeaveTheLinksDirectory)
{
    const std::string file = "<DL><p>\n<DT><H3>../../etc/passwd</H3>\n<DL><p>\n</DL><p>\n"
                             "<DT><H3>  &lt;&gt;|  </H3>\n<DL><p>\n</DL><p>\n"
                             "<DT><H3>a:b*c?</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"https://x.example/\">What? Now!</A>\n</DL><p>\n</DL><p>\n";
    importSource(model, ImportSource::Netscape, writeSource("b.html", file));
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other", "Netscape", ".....etcpasswd", ".Folder", ".abc"}));
    // Titles are not file names: they keep their characters.
    EXPECT_THAT(linksOf("abc"), ElementsAre("What? Now! https://x.example/"));
    for (const auto& entry : fs::directory_iterator(home.links()))
        EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    EXPECT_FALSE(fs::exists(home.path() / "etc"));
}

TEST_F(ImportTest, AnErrorKeepsWhatWasReadAndWrittenBeforeIt)
{
    // The link file of the second folder cannot be written: a directory is in its place.
    fs::create_directories(home.links() / "Second.wnl");
    const std::string file = "<DL><p>\n<DT><H3>First</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"https://one.example/\">One</A>\n</DL><p>\n"
                             "<DT><H3>Second</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"https://two.example/\">Two</A>\n</DL><p>\n"
                             "<DT><H3>Third</H3>\n<DL><p>\n</DL><p>\n</DL><p>\n";
    EXPECT_THROW(importSource(model, ImportSource::Netscape, writeSource("b.html", file)), Error);
    EXPECT_THAT(linksOf("First"), ElementsAre("One https://one.example/"));
    // The folders read so far are in the tree file, so nothing that was written is orphaned.
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other", "Netscape", ".First", ".Second"}));
    EXPECT_EQ(home.read("folders.wnf"),
              test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other", "Netscape", "\tFirst", "\tSecond"}));
    EXPECT_FALSE(home.exists("Links/Third.wnl"));
}

TEST_F(ImportTest, DialogStoresBoxesAndLocationsAndImportsTheCheckedSourcesInOrder)
{
    ExchangeChoice choice = importDialogChoice(model.prefs(), "/home/user");
    EXPECT_EQ(choice.ieLocation, "/home/user/Favorites"); // no directory in the preferences yet
    fs::create_directories(home.path() / "fav" / "Sub");
    writeSource("fav/Site.url", "[InternetShortcut]\r\nURL=https://site.example/\r\n");
    choice = {.ie = true, .netscape = true, .opera = true,
              .ieLocation = (home.path() / "fav").string(), .netscapeLocation = "   ",
              .operaLocation = (home.path() / "none.adr").string()};
    importBookmarks(model, choice);
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other", "Internet Explorer", ".fav", "..Sub", "Opera"}));
    EXPECT_THAT(linksOf("fav"), ElementsAre("Site https://site.example/"));
    EXPECT_EQ(model.prefs().IEFavoritesDir, choice.ieLocation);
    EXPECT_EQ(model.prefs().NetscapeFile, "   ");
    EXPECT_EQ(model.prefs().OperaFile, choice.operaLocation);
    EXPECT_EQ(importDialogChoice(model.prefs(), "/home/user"), choice);
    EXPECT_EQ(exportDialogChoice(model.prefs(), "/home/user").ieLocation, choice.ieLocation);
}

} // namespace
} // namespace velloria
