// Find and Find Again: matching, the order of fields and folders, where Find Again goes on, the
// match shown, and what a search leaves on disk and in the tree.

#include "support/Fixtures.h"
#include "tools/Search.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using Span = std::pair<std::size_t, std::size_t>;

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
        {"cr\xC3\xA8", "Caf\xC3\xA9 Cr\xC3\xA8me", 1, {6, 3}},
        {"SS", "Stra\xC3\x9F" "e", 1, {5, 1}},                 // ß
        {"s", "Stra\xC3\x9F" "e", 2, {0, 0}},                  // half a ß is no match
        {"\xC3\x89", "Caf\xE9", 1, {4, 1}},                    // Windows-1252 é
        {"abc", "ab", 1, {0, 0}},
    };
    for (const auto& c : cases) {
        const auto found = SearchText(c.needle).findIn(c.field, c.from);
        EXPECT_EQ(found ? Span(found->position, found->length) : Span(0, 0), c.found) << c.field;
    }
    EXPECT_EQ(characterCount("Caf\xC3\xA9"), 4u);
    EXPECT_EQ(characterCount("Caf\xE9"), 4u);
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

// Top starts folded: a match opens the folders on its way; one only passed is closed again.
TEST_F(SearchTest, AMatchIsShownWithExactlyItsCharactersHighlighted)
{
    const struct {
        const char* text;
        std::string match;
        Pane focus;
        std::string description;
        Span highlight;
        bool aExpanded;
    } cases[] = {
        {"  KEEPER ", "2 A1 0 4", Pane::List, "Title: Beekeeper bee", {10, 6}, true},
        {"a2", "0 A2 - 1", Pane::Tree, "Title: A2", {7, 2}, true},
        {"hive", "1 B - 5", Pane::Tree, "Description: Bee hive", {17, 4}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        MainWindowModel window{home.path(), clock, opener, "/home/user"};
        window.lifecycle().FormCreate();
        window.tree().trvFoldersEnter();
        window.tree().setFolderExpanded(0, false);
        ASSERT_TRUE(window.search().Find(c.text));
        EXPECT_EQ(matchOf(window), c.match);
        EXPECT_EQ(window.selection().focus(), c.focus);
        EXPECT_EQ(window.description().text(), c.description);
        EXPECT_EQ(window.description().highlight(), c.highlight);
        EXPECT_TRUE(window.library().folderTree()[0].Expanded);
        EXPECT_EQ(window.library().folderTree()[1].Expanded, c.aExpanded);
    }
    // The list's focus must not replace the match.
    ASSERT_TRUE(model.search().Find("  KEEPER "));
    model.list().lvReferencesEnter();
    EXPECT_EQ(model.description().text(), "Title: Beekeeper bee");
}

TEST_F(SearchTest, FindAgainGoesOnFromWhatHasTheFocusAndFoldsWhatItFinished)
{
    model.execute(Command::ViewExpandAllFolders);
    ASSERT_TRUE(model.search().Find("bee"));
    EXPECT_EQ(matchOf(model), "2 A1 0 1");
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

} // namespace
} // namespace velloria
