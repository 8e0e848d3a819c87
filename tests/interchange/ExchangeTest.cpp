// Import and export through the library: where imported folders go, their names and the files
// each import writes, what stays after an error, and the round trip of both files.

#include "base/Error.h"
#include "interchange/Export.h"
#include "interchange/Import.h"
#include "support/Fixtures.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExchangeTest : public test::WindowTest {
protected:
    ExchangeTest() { open({"000 1.0", "037 True", "040 0"}); }
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

TEST_F(ExchangeTest, SourceBecomesANewTopLevelFolderWithItsFoldersLinksAndDescriptions)
{
    const ImportReport report = importSource(model, ImportSource::Netscape, writeSource("b.html", kNews));
    EXPECT_EQ(report, (ImportReport{.topFolder = "Netscape", .counts = {.folders = 2, .links = 4}}));
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
    EXPECT_EQ(importSource(model, ImportSource::Netscape, home.path() / "b.html").topFolder, "Netscape_1");
    EXPECT_EQ(tree().back(), "..Top_2");
}

// Every source imported ends with its summary, a missing file too.
TEST_F(ExchangeTest, AMissingFileGivesAnEmptyFolderOfTheSourceAndEachSourceASummary)
{
    const ExchangeChoice choice = {
        .netscape = true, .opera = true, .netscapeLocation = writeSource("b.html", "<DT><H3>F</H3><DL><BLINK><DT>"
            "<A HREF=\"https://a.example/\">A</A><A HREF=\" \">blank</A></DL><HR><A HREF=\"b\">B</A><MARQUEE>").string(),
        .operaLocation = (home.path() / "nowhere.adr").string()};
    const std::vector<ImportReport> reports = importBookmarks(model, choice);
    EXPECT_EQ(importSummaryText(model.texts(), reports),
              "Netscape: 1 folder and 2 links imported\n2 entries skipped: unknown tag or entry\n"
              "1 entry skipped: no address\n\nOpera: 0 folders and 0 links imported");
    EXPECT_EQ(tree().back(), "Opera");
    EXPECT_EQ(home.read("Links/Opera.wnl"), "");
}

TEST_F(ExchangeTest, FolderNamesFromFilesAreCleanedAndNeverLeaveTheLinksDirectory)
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

TEST_F(ExchangeTest, AFileThatCannotBeWrittenAddsNothing)
{
    // The link file of the second folder cannot be written: a directory is in its place.
    fs::create_directories(home.links() / "Second.wnl");
    model.library().SaveFolderStates();
    const auto before = home.snapshot();
    const std::string file = "<DL><p>\n<DT><H3>First</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"https://one.example/\">One</A>\n</DL><p>\n"
                             "<DT><H3>Second</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"https://two.example/\">Two</A>\n</DL><p>\n"
                             "<DT><H3>Third</H3>\n<DL><p>\n</DL><p>\n</DL><p>\n";
    EXPECT_THAT(test::errorOf([&] { importSource(model, ImportSource::Netscape, writeSource("b.html", file)); }),
                HasSubstr("Second.wnl"));
    // No folder of the import is in the tree, and no file of it is left behind.
    EXPECT_EQ(tree(), (Lines{"Top", ".A", "..A1", "..A2", ".B", "Other"}));
    EXPECT_EQ(home.snapshot(), before);
}

TEST_F(ExchangeTest, ADamagedLineCostsNoLinkBeforeOrAfterIt)
{
    home.write("Links/B.wnl", test::linkFile({{"before", "b.example", "", "2026.1.1", "first"}})
                                  + "x damaged by hand\r\n\r\n"
                                  + test::linkFile({{"after", "https://a.example/", "", "2026.1.2", "second"}}));
    EXPECT_EQ(ReadExportLinks(model.library())("B"),
              (std::vector<ExportLink>{{"before", "b.example", "first", "", "2026.1.1"},
                                       {"after", "https://a.example/", "second", "", "2026.1.2"}}));
    EXPECT_TRUE(ReadExportLinks(model.library())("Other").empty());
}

// Names of the library are taken: the imported folders get suffixes.
TEST_F(ExchangeTest, BothFilesReadBackIntoTheSameFoldersTitlesAndAddresses)
{
    home.write("Links/A1.wnl", test::linkFile({{"Tom & \"Jerry\" <3", "https://tj.example/?a=1&b=2"}}));
    home.write("Links/A1.~wnl", home.read("Links/A1.wnl"));
    const Lines original = tree();
    const std::pair<ImportSource, const char*> formats[] = {{ImportSource::Netscape, "b.html"},
                                                            {ImportSource::Opera, "h.adr"}};
    for (const auto& [format, name] : formats) {
        SCOPED_TRACE(name);
        exportTarget(model, format, home.path() / name);
        const std::string top = importSource(model, format, home.path() / name).topFolder;
        Lines expected = original;
        expected.insert(expected.end(), {top, ".Top_1", "..A_1", "...A1_1", "...A2_1", "..B_1", ".Other_1"});
        EXPECT_EQ(tree(), expected);
        EXPECT_THAT(linksOf("A1_1"), ElementsAre("Tom & \"Jerry\" <3 https://tj.example/?a=1&b=2"));
        Lines b = {"Alpha http://a.example/path", "mid mailto:mid@example.org", "zeta https://z.example/"};
        if (format == ImportSource::Opera)
            b.erase(b.begin() + 1); // not a web address
        EXPECT_EQ(linksOf("B_1"), b);
        model.lifecycle().revertLibrary(); // the next format exports the library without this import
        model.lifecycle().loadLibrary(RestoreFolderStates::No);
    }
}

TEST_F(ExchangeTest, ExportWritesTheCheckedTargetsSkipsBlankOnesAndKeepsTheChoice)
{
    ExchangeChoice choice = {.ie = true, .netscape = true, .opera = true, .ieLocation = " ",
                             .netscapeLocation = (home.path() / "b.html").string(),
                             .operaLocation = (home.path() / "h.adr").string()};
    exportBookmarks(model, choice);
    EXPECT_THAT(test::readBytes(home.path() / "b.html"), HasSubstr("<A HREF=\"http://a.example/path\">Alpha</A>"));
    EXPECT_THAT(test::readBytes(home.path() / "h.adr"), HasSubstr("NAME=Alpha\r\nURL=http://a.example/path\r\n"));
    EXPECT_FALSE(fs::exists(home.path() / " "));
    EXPECT_EQ(exportDialogChoice(model).operaLocation, choice.operaLocation);

    // An empty library writes nothing.
    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    choice = {.netscape = true, .netscapeLocation = (home.path() / "e.html").string()};
    exportBookmarks(model, choice);
    EXPECT_FALSE(fs::exists(home.path() / "e.html"));
}

TEST_F(ExchangeTest, AFailedWriteLeavesTheTargetAsItWas)
{
    // A directory stands where the file should go: the export fails and leaves it alone.
    const fs::path target = home.path() / "b.html";
    test::writeBytes(target / "keep.txt", "kept");
    EXPECT_THROW(exportTarget(model, ImportSource::Netscape, target), Error);
    EXPECT_THROW(exportTarget(model, ImportSource::Opera, target), Error);
    EXPECT_EQ(test::filesBelow(target), (std::map<std::string, std::string>{{"keep.txt", "kept"}}));
}

} // namespace
} // namespace velloria
