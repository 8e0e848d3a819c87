// The export driver and what the exporters share: the tree order with its closings, the targets
// of the dialog, and the round trip of every format.

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

TEST(ClosingCountTest, ClosesOneListPerLevelClimbedAndAllAfterTheLast)
{
    const std::vector<ExportFolder> folders = {{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}, {"E", 0}, {"F", 0}, {"G", 1},
                                               {"H", 2}};
    Lines counts;
    for (std::size_t i = 0; i < folders.size(); ++i)
        counts.push_back(folders[i].name + std::to_string(closingCount(folders, i)));
    EXPECT_EQ(counts, (Lines{"A0", "B0", "C0", "D4", "E1", "F0", "G0", "H3"}));
}

class ExportTest : public test::WindowTest {
protected:
    ExportTest() { open({"000 1.0", "037 True", "040 0"}); }

    // The subtree of a folder as lines: a dot per level below it, then each link's title and
    // address in its link file.
    Lines subtree(std::size_t top) const
    {
        Lines lines;
        const TFolderTree& tree = model.library().folderTree();
        for (std::size_t folder = top + 1; folder < tree.subtreeEnd(top); ++folder) {
            lines.push_back(std::string(static_cast<std::size_t>(tree[folder].Level - tree[top].Level), '.')
                            + tree[folder].Name);
            for (const TLinkRecord& link : parseLinkFile(home.read("Links/" + tree[folder].Name + ".wnl")).links)
                lines.push_back("    " + link.Title + " " + link.Address);
        }
        return lines;
    }
};

TEST_F(ExportTest, TreeOrderAndTheSavedLinksOfEachFolder)
{
    EXPECT_EQ(TreeOrder(model.library().folderTree()),
              (std::vector<ExportFolder>{{"Top", 0}, {"A", 1}, {"A1", 2}, {"A2", 2}, {"B", 1}, {"Other", 0}}));
    const auto links = ReadExportLinks(model.library())("B");
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[1], (ExportLink{"Alpha", "a.example/path", "first by title"}));
    EXPECT_TRUE(ReadExportLinks(model.library())("Other").empty());
}

TEST_F(ExportTest, ADamagedLineCostsNoLinkBeforeOrAfterIt)
{
    home.write("Links/B.wnl", test::linkFile({{"before", "b.example", "", "2026.1.1", "first"}}) + "x damaged by hand\r\n\r\n"
                                  + test::linkFile({{"after", "https://a.example/", "", "2026.1.2", "second"}}));
    EXPECT_EQ(ReadExportLinks(model.library())("B"),
              (std::vector<ExportLink>{{"before", "b.example", "first"}, {"after", "https://a.example/", "second"}}));
    const fs::path location = home.path() / "b.html";
    exportTarget(model, ImportSource::Netscape, location);
    const std::string written = test::readBytes(location);
    EXPECT_THAT(written, testing::HasSubstr("<A HREF=\"http://b.example\">before</A>"));
    EXPECT_THAT(written, testing::HasSubstr("<A HREF=\"https://a.example/\">after</A>"));
}

TEST_F(ExportTest, EveryFormatReadsBackIntoTheSameFoldersTitlesAndAddresses)
{
    home.write("Links/A1.wnl", test::linkFile({{"Tom & \"Jerry\" <3", "https://tj.example/?a=1&b=2"}}));
    home.write("Links/A1.~wnl", home.read("Links/A1.wnl"));
    const Lines exported = {".Top",  "..A",   "...A1", "    Tom & \"Jerry\" <3 https://tj.example/?a=1&b=2",
                            "...A2", "..B",   "    Alpha http://a.example/path", "    mid mailto:mid@example.org",
                            "    zeta https://z.example/", ".Other"};
    const std::pair<ImportSource, const char*> formats[] = {
        {ImportSource::Netscape, "b.html"}, {ImportSource::Opera, "h.adr"}, {ImportSource::InternetExplorer, "fav"}};
    for (const auto& [format, name] : formats) {
        SCOPED_TRACE(name);
        const fs::path location = home.path() / name;
        exportTarget(model, format, location);
        const std::string top = importSource(model, format, location);
        Lines read = subtree(model.library().folderTree().findExact(top));
        Lines expected = exported;
        if (format == ImportSource::InternetExplorer) {
            // The directory is a folder of its own below the source's folder, and so is the
            // export's directory "Velloria" in it.
            // Directories come back in name order.
            expected.pop_back();
            expected.insert(expected.begin(), {".fav", "..Velloria", ".Other"});
            for (std::size_t i = 2; i < expected.size(); ++i)
                if (expected[i][0] == '.')
                    expected[i] = ".." + expected[i];
        }
        if (format != ImportSource::Netscape)
            std::erase(expected, "    mid mailto:mid@example.org"); // not a web address
        if (format == ImportSource::InternetExplorer) // the title was a file name
            std::replace(expected.begin(), expected.end(), std::string("    Tom & \"Jerry\" <3 https://tj.example/?a=1&b=2"),
                         std::string("    Tom & Jerry 3 https://tj.example/?a=1&b=2"));
        // Names of the library are taken: the imported folders get suffixes.
        for (std::string& line : read)
            if (line[0] == '.' && line.size() > 2 && line[line.size() - 2] == '_')
                line.erase(line.size() - 2);
        EXPECT_EQ(read, expected);
        model.lifecycle().revertLibrary(); // the next format exports the library without this import
        model.lifecycle().loadLibrary(RestoreFolderStates::No);
    }
}

TEST_F(ExportTest, DialogStoresLocationsAndSkipsBlankTargets)
{
    const ExchangeChoice choice = {.ie = true, .netscape = true, .opera = true, .ieLocation = " ",
                                   .netscapeLocation = (home.path() / "b.html").string(),
                                   .operaLocation = (home.path() / "h.adr").string()};
    exportBookmarks(model, choice);
    EXPECT_TRUE(fs::exists(home.path() / "b.html"));
    EXPECT_TRUE(fs::exists(home.path() / "h.adr"));
    EXPECT_FALSE(fs::exists(home.path() / " "));
    EXPECT_EQ(model.prefs().IEFavoritesDir, " ");
    EXPECT_EQ(exportDialogChoice(model.prefs(), "/home/user").operaLocation, choice.operaLocation);
    EXPECT_TRUE(model.prefs().ExportIE && model.prefs().ExportNetscape && model.prefs().ExportOpera);
}

TEST_F(ExportTest, AnEmptyLibraryWritesNothingButKeepsTheLocations)
{
    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    ASSERT_TRUE(model.library().folderTree().empty());
    const ExchangeChoice choice = {.ie = false, .netscape = true, .opera = false, .ieLocation = "/x",
                                   .netscapeLocation = (home.path() / "b.html").string(), .operaLocation = "o.adr"};
    exportBookmarks(model, choice);
    EXPECT_FALSE(fs::exists(home.path() / "b.html"));
    EXPECT_EQ(model.prefs().OperaFile, "o.adr");
    EXPECT_FALSE(model.prefs().ExportIE);
}

TEST_F(ExportTest, AFailedWriteLeavesTheTargetAsItWas)
{
    // A directory stands where the file should go: the export fails and leaves it alone.
    const fs::path target = home.path() / "b.html";
    fs::create_directories(target);
    test::writeBytes(target / "keep.txt", "kept");
    EXPECT_THROW(exportTarget(model, ImportSource::Netscape, target), Error);
    EXPECT_THROW(exportTarget(model, ImportSource::Opera, target), Error);
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(target / "keep.txt"));
}

} // namespace
} // namespace velloria
