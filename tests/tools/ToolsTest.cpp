// Find and Find Again, sorting the link list, and the statistics: what the user is shown, and
// what each leaves on disk.

#include "mainwindow/StatisticsLines.h"
#include "settings/UIText.h"
#include "support/Fixtures.h"
#include "tools/Search.h"
#include "tools/Sort.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>

namespace velloria {
namespace {

using test::crlf;
using ::testing::ElementsAre;
using Span = std::pair<std::size_t, std::size_t>;
using Titles = std::vector<std::string>;

TEST(SearchText, IgnoresCaseBeyondAsciiAndCountsCharacters)
{
    const struct {
        std::string_view needle, field;
        std::size_t from;
        Span found; // position and length; (0, 0) for none
    } cases[] = {
        {"eX", "Next Exit", 1, {2, 2}},
        {"eX", "Next Exit", 3, {6, 2}},
        {"bee", "Beekeeper bee", 2, {11, 3}},                  // a match that ends the field
        {"\xC3\xA9\xC3\x89", "z\xC3\x89\xC3\xA9z", 1, {2, 2}}, // éÉ in zÉéz
        {"SS", "Stra\xC3\x9F" "e", 1, {5, 1}},                 // ß
        {"s", "Stra\xC3\x9F" "e", 2, {0, 0}},                  // half a ß is no match
        {"\xC3\x89", "Caf\xE9", 1, {4, 1}},                    // Windows-1252 é
        {"abc", "ab", 1, {0, 0}},
    };
    for (const auto& c : cases) {
        const auto found = SearchText(c.needle).findIn(c.field, c.from);
        EXPECT_EQ(found ? Span(found->position, found->length) : Span(0, 0), c.found) << c.field;
    }
}

TEST(SearchText, TheQuickLookAtAFileNeverMissesAMatch)
{
    const SearchText text("kss");
    EXPECT_FALSE(text.mayOccurIn("0 nothing here\r\n4 Caf\xC3\xA9\r\n"));
    EXPECT_TRUE(text.mayOccurIn("0 a KSS b\r\n"));
    EXPECT_TRUE(text.mayOccurIn("0 \xE2\x84\xAA\xC3\x9F\r\n"));  // Kelvin sign and ß
    EXPECT_TRUE(SearchText("k\xC3\x9F").findIn("\xE2\x84\xAA\xC3\x9F").has_value());
    EXPECT_TRUE(text.mayOccurIn("0 K\xDF\r\n"));                    // Windows-1252 ß
    EXPECT_TRUE(SearchText("fit").mayOccurIn("0 \xEF\xAC\x81t\r\n")); // the ligature ﬁ
    EXPECT_TRUE(SearchText("\xC3\xA9").mayOccurIn("anything"));        // not ASCII: always read
}

// The match as place, folder, row, position.
std::string matchOf(const MainWindowModel& window)
{
    const auto& m = window.search().session().lastMatch();
    if (!m)
        return "none";
    return std::to_string(static_cast<int>(m->place)) + " " + window.library().folderTree()[m->folder].Name
        + " " + (m->row == MainWindowModel::npos ? "-" : std::to_string(m->row)) + " "
        + std::to_string(m->position);
}

class SearchTest : public test::WindowTest {
protected:
    SearchTest()
    {
        home.write("folddesc.wnf", test::crlf({"Top", "The top", "B", "Bee hive", "A2", "bee keeping"}));
        home.write("Links/A1.wnl", test::linkFile({{"Beekeeper bee", "bees.example", "", "", "about bees"}}));
        // Unsorted on disk: the list shows it by title.
        home.write("Links/Other.wnl", test::linkFile({{"zz bee", "z"}, {"aa bee", "a"}}));
        open({"000 1.0", "012 True", "040 0"});
        model.tree().trvFoldersEnter();
    }
    std::vector<std::string> findAll(const std::string& text)
    {
        std::vector<std::string> matches;
        if (model.search().Find(text))
            matches.push_back(matchOf(model));
        while (model.search().SearchAgain())
            matches.push_back(matchOf(model));
        return matches;
    }
};

TEST_F(SearchTest, FindWalksFoldersAndTheirSortedRowsInOrder)
{
    model.tree().selectFolder(3); // A2: Find starts at the top all the same
    EXPECT_THAT(findAll("bee"), ElementsAre("2 A1 0 1",    // the title "Beekeeper bee", twice
                                            "2 A1 0 11",
                                            "3 A1 0 1",    // its address
                                            "4 A1 0 7",    // its description
                                            "1 A2 - 1",    // a folder description
                                            "1 B - 1",     // B's description
                                            "2 Other 0 4", // "aa bee", first as the list shows
                                            "2 Other 1 4")); // then the end, silently
    EXPECT_TRUE(view.questions.empty());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(SearchTest, FindAgainGoesOnFromWhatHasTheFocusAndFoldsWhatItFinished)
{
    model.execute(Command::ViewExpandAllFolders);
    ASSERT_TRUE(model.search().Find("bee"));
    EXPECT_EQ(matchOf(model), "2 A1 0 1");
    EXPECT_EQ(model.description().text(), "Title: Beekeeper bee");
    EXPECT_EQ(model.description().highlight(), Span(7, 3));
    model.tree().trvFoldersEnter(); // the user goes to the tree: Find Again starts at the folder
    model.tree().selectFolder(4);
    ASSERT_TRUE(model.search().SearchAgain());
    EXPECT_EQ(matchOf(model), "1 B - 1");
    EXPECT_FALSE(model.library().folderTree()[1].Expanded); // A, before B, folded up
}

TEST_F(SearchTest, TextNotFoundSaysSoAndLeavesTheLinkFilesAlone)
{
    auto before = home.snapshot();
    before.erase("foldst.wnf");
    EXPECT_FALSE(model.search().Find("nowhere"));
    EXPECT_THAT(view.messages, ElementsAre("Search text is not found"));
    auto after = home.snapshot();
    after.erase("foldst.wnf");
    EXPECT_EQ(after, before); // Other, unsorted on disk, was searched in title order unwritten
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    // Blank texts search nothing.
    EXPECT_FALSE(model.search().Find("   "));
    EXPECT_FALSE(model.search().SearchAgain());
    EXPECT_EQ(model.search().session().lastMatch(), std::nullopt);
}

TEST_F(SearchTest, HistoryKeepsTenTextsEachOnce)
{
    for (const std::string text : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "3", "x", "X"})
        model.search().Find(text);
    EXPECT_THAT(model.search().session().history(),
                ElementsAre("4", "5", "6", "7", "8", "9", "10", "3", "x", "X")); // case counts
}

TEST(CompareSortValues, FoldsOnlyAsciiLettersAndPutsPrefixesFirst)
{
    const struct {
        std::string_view a, b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0}, {"abc", "abd", -1}, {"ab", "abc", -1}, {"abc", "ab", 1}, {"b", "abc", 1},
        {"", "a", -1}, {"Z", "_", -1},      // "_" is above "Z" as a code
        {"\xC3\xA9", "\xC3\x89", 1},        // é and É differ by code
        {"2026.10.1", "2026.9.30", -1},     // dates sort as text
    };
    for (const auto& c : cases) {
        const int result = compareSortValues(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " " << c.b;
    }
}

class SortTest : public test::WindowTest {
protected:
    void showB(std::initializer_list<std::string_view> preferences)
    {
        open(preferences);
        model.tree().trvFoldersEnter();
        model.tree().selectFolder(4);
    }
    Titles fileTitles() const
    {
        Titles result;
        for (const TLinkRecord& link : parseLinkFile(home.read("Links/B.wnl")).links)
            result.push_back(link.Title);
        return result;
    }
};

// Equal values keep their order, dates sort as text, and the descriptions go with their rows.
TEST_F(SortTest, TheStoredModeOrdersTheListMarksItsColumnAndWritesTheOrder)
{
    const std::string stored = test::linkFile({{"zeta", "b.example", "2026.1.2", "2026.1.1", "z"},
                                               {"Alpha", "c.example", "2026.1.10", "2026.1.3", "c"},
                                               {"alpha", "a.example", "", "2026.1.2", ""}});
    const std::map<std::string, std::string> descriptionOf = {{"zeta", "z"}, {"Alpha", "c"}, {"alpha", ""}};
    const struct {
        std::string_view mode, reversed;
        Titles titles, captions;
    } cases[] = {
        {"040 0", "041 False", {"Alpha", "alpha", "zeta"}, {"Title +", "Address", "Last Visit", "Add Date"}},
        {"040 0", "041 True", {"zeta", "Alpha", "alpha"}, {"Title -", "Address", "Last Visit", "Add Date"}},
        {"040 1", "041 False", {"alpha", "zeta", "Alpha"}, {"Title", "Address +", "Last Visit", "Add Date"}},
        {"040 2", "041 False", {"alpha", "Alpha", "zeta"}, {"Title", "Address", "Last Visit +", "Add Date"}},
        {"040 3", "041 True", {"Alpha", "alpha", "zeta"}, {"Title", "Address", "Last Visit", "Add Date -"}},
        {"040 5", "041 False", {"zeta", "Alpha", "alpha"}, {"Title", "Address", "Last Visit", "Add Date"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::string(c.reversed));
        home.write("Links/B.wnl", stored);
        writePreferences({"000 1.0", c.mode, c.reversed});
        MainWindowModel window{home.path(), clock, opener, "/home/user"};
        window.lifecycle().FormCreate();
        window.tree().selectFolder(4);
        Titles shown, captions, descriptions;
        for (const TLinkRecord& link : window.library().linkList()) {
            shown.push_back(link.Title);
            descriptions.push_back(descriptionOf.at(link.Title));
        }
        for (int column = 0; column < 4; ++column)
            captions.push_back(window.captions().columnCaption(column));
        EXPECT_EQ(shown, c.titles);
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(window.library().linkDescriptions(), descriptions);
        EXPECT_EQ(fileTitles(), c.titles); // a sort writes the order shown
        if (c.mode == "040 5") {
            EXPECT_EQ(home.read("Links/B.wnl"), stored); // unsorted writes nothing
        }
    }
}

// The very rows selected before a sort are selected after it, the focus on the first of them.
TEST_F(SortTest, HeaderClicksSortByTheColumnAndFlipTheDirectionKeepingTheSelection)
{
    showB({"000 1.0", "040 0"});
    model.list().selectRows({1, 2}, 2); // "mid" and "zeta"
    model.list().lvReferencesColumnClick(0);
    EXPECT_EQ(titles(), (Titles{"zeta", "mid", "Alpha"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u, 1u));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "mid");
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewReversedOrder));
    EXPECT_EQ(model.captions().columnCaption(0), "Title -");
    EXPECT_EQ(fileTitles(), titles());

    model.list().lvReferencesColumnClick(1);
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewSortByAddress));
    EXPECT_FALSE(model.commandStates().isChecked(Command::ViewReversedOrder));
    EXPECT_EQ(model.captions().columnCaption(1), "Address +");
    EXPECT_EQ(titles(), (Titles{"Alpha", "zeta", "mid"})); // a.example, https:, mailto:

    // Unsorted keeps the stored order and allows moving.
    model.list().selectRows({}, TFolderTree::npos);
    model.execute(Command::ViewUnsorted);
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewUnsorted));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditMoveUp));
    EXPECT_EQ(model.captions().columnCaption(1), "Address");
    EXPECT_EQ(fileTitles(), titles());
}

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
