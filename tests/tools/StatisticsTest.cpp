// The statistics: counts, the size of the library's files, and how the figures are written.

#include "base/Clock.h"
#include "mainwindow/StatisticsLines.h"
#include "settings/UIText.h"
#include "store/Library.h"
#include "support/Fixtures.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace velloria {
namespace {

using test::crlf;

TEST(FormatKilobytes, RoundsHalvesUpAndGroupsThousands)
{
    const struct {
        double bytes;
        const char* separator;
        const char* text;
    } cases[] = {{1536, ",", "2"}, {1535, ",", "1"}, {0, ",", "0"}, {1024.0 * 1234567, ",", "1,234,567"},
                 {1024.0 * 1234567, ".", "1.234.567"}, {1024.0 * 999, ",", "999"}, {1024.0 * 1000, "", "1000"},
                 {-1, ",", "-0"}}; // free space unknown
    for (const auto& c : cases)
        EXPECT_EQ(formatKilobytes(c.bytes, c.separator), c.text) << c.bytes;
}

using StatisticsTest = test::HomeTest;

TEST_F(StatisticsTest, CountsFoldersLinksAndTheBytesOfTheLibraryFiles)
{
    home.write("folders.wnf", crlf({"A", "\tB", "C"}));                                       // 10 bytes
    home.write("folders.~wnf", crlf({"A"}));                                                  // 3
    home.write("folddesc.wnf", crlf({"A", "a"}));                                             // 6
    home.write("foldst.wnf", crlf({"0", "True", "True"}));                                    // 15
    home.write("Links/A.wnl", crlf({"0 one", "1 x", "2 ", "3 ", "4 ", "0 two", "1 y", "2 ", "3 ", "4 "})); // 48
    home.write("Links/A.~wnl", crlf({"0 one", "1 x", "2 ", "3 ", "4 "}));                    // 24
    home.write("Links/B.wnl", "\r\n");                                                        // 2, no links
    home.write("Links/A.wnt", std::string(5000, 'x'));                                        // undo copies do not count
    home.write("Links/Stray.wnl", std::string(5000, 'x'));                                    // nor folders not in the tree
    library.LoadFolderTree();
    const LibraryStatistics figures = computeStatistics(library);
    EXPECT_EQ(figures.folders, 3u);
    EXPECT_EQ(figures.links, 2u);
    EXPECT_EQ(figures.databaseBytes, 10u + 3 + 6 + 15 + 48 + 24 + 2);
    ASSERT_TRUE(figures.freeBytes);
    EXPECT_GT(*figures.freeBytes, 0);
    EXPECT_TRUE(figures.error.empty());

    const StatisticsLines lines = statisticsLines(figures, UIText(), ",");
    EXPECT_EQ(lines.folders, "Folders: 3");
    EXPECT_EQ(lines.links, "Bookmarks: 2");
    EXPECT_EQ(lines.databaseSize, "Database Size: 0 k");
    EXPECT_TRUE(lines.freeSpace.starts_with("Free Space: ")) << lines.freeSpace;
    EXPECT_TRUE(lines.freeSpace.ends_with(" k")) << lines.freeSpace;
}

TEST_F(StatisticsTest, AnUnreadableLinkFileStopsTheCountingWithItsError)
{
    home.write("folders.wnf", crlf({"A"}));
    std::filesystem::create_directories(home.links() / "A.wnl");
    library.LoadFolderTree();
    const LibraryStatistics figures = computeStatistics(library);
    EXPECT_EQ(figures.folders, 1u);
    EXPECT_EQ(figures.links, std::nullopt);
    EXPECT_THAT(figures.error, ::testing::HasSubstr("Is a directory"));
    const StatisticsLines lines = statisticsLines(figures, UIText(), ",");
    EXPECT_EQ(lines.links, "Links:");
    EXPECT_EQ(lines.databaseSize, "Database Size:");
    EXPECT_EQ(lines.freeSpace, "Free Space:");
}

} // namespace
} // namespace velloria
