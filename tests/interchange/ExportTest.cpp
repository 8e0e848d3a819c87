// The export driver: the saved links it gives the writers, the targets of the dialog, and the
// round trip of the bookmark file and the hotlist through the library.

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

class ExportTest : public test::WindowTest {
protected:
    ExportTest() { open({"000 1.0", "037 True", "040 0"}); }
};

TEST_F(ExportTest, ADamagedLineCostsNoLinkBeforeOrAfterIt)
{
    home.write("Links/B.wnl", test::linkFile({{"before", "b.example", "", "2026.1.1", "first"}})
                                  + "x damaged by hand\r\n\r\n"
                                  + test::linkFile({{"after", "https://a.example/", "", "2026.1.2", "second"}}));
    EXPECT_EQ(ReadExportLinks(model.library())("B"),
              (std::vector<ExportLink>{{"before", "b.example", "first"}, {"after", "https://a.example/", "second"}}));
    EXPECT_TRUE(ReadExportLinks(model.library())("Other").empty());
}

// Names of the library are taken: the imported folders get suffixes.
TEST_F(ExportTest, BothFilesReadBackIntoTheSameFoldersTitlesAndAddresses)
{
    home.write("Links/A1.wnl", test::linkFile({{"Tom & \"Jerry\" <3", "https://tj.example/?a=1&b=2"}}));
    home.write("Links/A1.~wnl", home.read("Links/A1.wnl"));
    const Lines original = tree();
    const std::pair<ImportSource, const char*> formats[] = {{ImportSource::Netscape, "b.html"},
                                                            {ImportSource::Opera, "h.adr"}};
    for (const auto& [format, name] : formats) {
        SCOPED_TRACE(name);
        exportTarget(model, format, home.path() / name);
        const std::string top = importSource(model, format, home.path() / name);
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

TEST_F(ExportTest, DialogStoresLocationsAndSkipsBlankTargets)
{
    ExchangeChoice choice = {.ie = true, .netscape = true, .opera = true, .ieLocation = " ",
                             .netscapeLocation = (home.path() / "b.html").string(),
                             .operaLocation = (home.path() / "h.adr").string()};
    exportBookmarks(model, choice);
    EXPECT_THAT(test::readBytes(home.path() / "b.html"), HasSubstr("<A HREF=\"http://a.example/path\">Alpha</A>"));
    EXPECT_THAT(test::readBytes(home.path() / "h.adr"), HasSubstr("NAME=Alpha\r\nURL=http://a.example/path\r\n"));
    EXPECT_FALSE(fs::exists(home.path() / " "));
    EXPECT_EQ(model.prefs().IEFavoritesDir, " ");
    EXPECT_EQ(exportDialogChoice(model.prefs(), "/home/user").operaLocation, choice.operaLocation);
    EXPECT_TRUE(model.prefs().ExportIE && model.prefs().ExportNetscape && model.prefs().ExportOpera);

    // An empty library writes nothing but keeps the locations.
    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    choice = {.netscape = true, .ieLocation = "/x", .netscapeLocation = (home.path() / "e.html").string(),
              .operaLocation = "o.adr"};
    exportBookmarks(model, choice);
    EXPECT_FALSE(fs::exists(home.path() / "e.html"));
    EXPECT_EQ(model.prefs().OperaFile, "o.adr");
    EXPECT_FALSE(model.prefs().ExportIE);
}

TEST_F(ExportTest, AFailedWriteLeavesTheTargetAsItWas)
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
