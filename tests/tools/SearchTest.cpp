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
    const auto match = [](std::string_view needle, std::string_view field, std::size_t from = 1) {
        const auto found = SearchText(needle).findIn(field, from);
        return found ? Span(found->position, found->length) : Span(0, 0);
    };
    EXPECT_EQ(match("eX", "Next Exit"), Span(2, 2));
    EXPECT_EQ(match("eX", "Next Exit", 3), Span(6, 2));
    EXPECT_EQ(match("\xC3\xA9\xC3\x89", "z\xC3\x89\xC3\xA9z"), Span(2, 2)); // éÉ in zÉéz
    EXPECT_EQ(match("cr\xC3\xA8", "Caf\xC3\xA9 Cr\xC3\xA8me"), Span(6, 3));
    EXPECT_EQ(match("SS", "Stra\xC3\x9F" "e"), Span(5, 1));   // ß
    EXPECT_EQ(match("s", "Stra\xC3\x9F" "e", 2), Span(0, 0)); // half a ß is no match
    EXPECT_EQ(match("\xC3\x89", "Caf\xE9"), Span(4, 1));     // Windows-1252 é
    EXPECT_EQ(match("x", "abc"), Span(0, 0));
    EXPECT_EQ(match("abc", "ab"), Span(0, 0));
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

class SearchTest : public test::WindowTest {
protected:
    SearchTest()
    {
        home.write("folddesc.wnf", test::crlf({"Top", "The top", "B", "Bee hive", "A2", "bee keeping"}));
        home.write("Links/A1.wnl", test::linkFile({{"Beekeeper bee", "bees.example", "", "", "about bees"}}));
        open({"000 1.0", "012 True", "040 0"});
        model.tree().trvFoldersEnter();
    }
    // The match as place, folder, row, position.
    std::string lastMatch() const
    {
        const auto& m = model.search().session().lastMatch();
        if (!m)
            return "none";
        return std::to_string(static_cast<int>(m->place)) + " " + model.library().folderTree()[m->folder].Name + " "
            + (m->row == MainWindowModel::npos ? "-" : std::to_string(m->row)) + " " + std::to_string(m->position);
    }
    std::vector<std::string> findAll(const std::string& text)
    {
        std::vector<std::string> matches;
        if (model.search().Find(text))
            matches.push_back(lastMatch());
        while (model.search().SearchAgain())
            matches.push_back(lastMatch());
        return matches;
    }
};

TEST_F(SearchTest, FindWalksFoldersAndTheirSortedRowsInOrder)
{
    EXPECT_THAT(findAll("bee"), ElementsAre("2 A1 0 1",  // the title "Beekeeper bee", twice
                                            "2 A1 0 11",
                                            "3 A1 0 1",  // its address
                                            "4 A1 0 7",  // its description
                                            "1 A2 - 1",  // a folder description
                                            "1 B - 1")); // B's description; then the end
    EXPECT_EQ(model.selection().focus(), Pane::Tree);
}

TEST_F(SearchTest, TheSelectedFolderIsSearchedWhetherItsLinksAreShownOrNot)
{
    home.write("Links/A2.wnl", test::linkFile({{"zzqtest6 two", "x"}}));
    home.write("Links/A1.wnl", test::linkFile({{"zzqtest6 one", "y"}}));
    for (const std::size_t selected : {2u, 3u}) { // A1 before A2, A2 after A1
        home.write("foldst.wnf", test::crlf({std::to_string(selected), "True", "True"}));
        // The window shows the selected folder's links; the command-line tool shows none.
        for (const bool shown : {true, false}) {
            SCOPED_TRACE(std::to_string(selected) + (shown ? " shown" : " not shown"));
            MainWindowModel searching{home.path(), clock, opener, "/home/user"};
            searching.setLookOnly(true);
            if (shown)
                searching.lifecycle().FormCreate();
            else
                searching.library().OpenLibrary(RestoreFolderStates::Yes);
            ASSERT_EQ(searching.tree().selectedFolder(), selected);
            std::vector<std::string> folders;
            for (bool found = searching.search().Find("zzqtest6"); found; found = searching.search().SearchAgain())
                folders.push_back(searching.library().folderTree()[searching.search().session().lastMatch()->folder].Name);
            EXPECT_THAT(folders, ElementsAre("A1", "A2"));
        }
    }
}

TEST_F(SearchTest, AMatchIsShownWithExactlyItsCharactersHighlighted)
{
    ASSERT_TRUE(model.search().Find("  KEEPER "));
    EXPECT_EQ(model.library().folderTree()[model.tree().selectedFolder()].Name, "A1");
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u));
    EXPECT_EQ(model.selection().focus(), Pane::List);
    EXPECT_TRUE(model.flags().SearchFocusPending); // the list's focus must not replace the match
    EXPECT_EQ(model.description().text(), "Title: Beekeeper bee");
    EXPECT_EQ(model.description().highlight(), Span(10, 6)); // "Title: Bee|keeper|"
    model.list().lvReferencesEnter();
    EXPECT_EQ(model.description().text(), "Title: Beekeeper bee");
    EXPECT_THAT(model.search().session().history(), ElementsAre("KEEPER"));
}

TEST_F(SearchTest, AFolderNameMatchSelectsTheFolderAndGivesTheTreeTheFocus)
{
    ASSERT_TRUE(model.search().Find("a2"));
    EXPECT_EQ(lastMatch(), "0 A2 - 1");
    EXPECT_EQ(model.selection().focus(), Pane::Tree);
    EXPECT_EQ(model.description().text(), "Title: A2");
    EXPECT_EQ(model.description().highlight(), Span(7, 2));
    EXPECT_TRUE(model.library().folderTree()[1].Expanded); // opened on the way and left open
}

TEST_F(SearchTest, MatchesInDescriptionsAndLinksRestoreTheTreeFirst)
{
    model.tree().setFolderExpanded(0, false);
    ASSERT_TRUE(model.search().Find("hive"));
    EXPECT_EQ(lastMatch(), "1 B - 5");
    EXPECT_EQ(model.description().text(), "Description: Bee hive");
    EXPECT_FALSE(model.library().folderTree()[1].Expanded); // A was passed, but is closed again
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);  // Top, to show B
}

TEST_F(SearchTest, FindAgainGoesOnFromWhatHasTheFocus)
{
    ASSERT_TRUE(model.search().Find("bee"));
    EXPECT_EQ(lastMatch(), "2 A1 0 1");
    model.tree().trvFoldersEnter(); // the user goes to the tree: Find Again starts at the folder's name
    model.tree().selectFolder(4);
    ASSERT_TRUE(model.search().SearchAgain());
    EXPECT_EQ(lastMatch(), "1 B - 1");
    EXPECT_FALSE(model.search().SearchAgain()); // nothing after it: the end, silently
    EXPECT_TRUE(view.questions.empty());
}

TEST_F(SearchTest, FindAgainFoldsTheBranchesItHasFinished)
{
    model.execute(Command::ViewExpandAllFolders);
    ASSERT_TRUE(model.search().Find("bee"));
    while (model.search().session().lastMatch()->place != SearchPlace::FolderDescription
           || model.library().folderTree()[model.search().session().lastMatch()->folder].Name != "B")
        ASSERT_TRUE(model.search().SearchAgain());
    EXPECT_FALSE(model.library().folderTree()[1].Expanded); // A, before B, folded up
}

TEST_F(SearchTest, TextNotFoundSaysSoAndLeavesTheLinkFilesAlone)
{
    home.write("Links/B.wnl", test::linkFile({{"Alpha", "a.example/path", "2026.10.1", "2026.1.1", "first"},
                                              {"zeta", "https://z.example/", "", "2026.1.3", "last"}}));
    home.write("Links/Other.wnl", test::linkFile({{"Zulu", "z"}, {"Alpha", "a"}}));
    auto before = home.snapshot();
    before.erase("foldst.wnf");
    EXPECT_FALSE(model.search().Find("nowhere"));
    EXPECT_THAT(view.messages, ElementsAre("Search text is not found"));
    auto after = home.snapshot();
    after.erase("foldst.wnf");
    EXPECT_EQ(after, before); // Other, unsorted on disk, was searched in title order unwritten
    EXPECT_TRUE(home.exists("foldst.wnf"));
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
}

TEST_F(SearchTest, RowsAreSearchedInTheOrderTheListShows)
{
    home.write("Links/Other.wnl", test::linkFile({{"zz target", "z"}, {"aa target", "a"}}));
    ASSERT_TRUE(model.search().Find("target"));
    EXPECT_EQ(lastMatch(), "2 Other 0 4");
    EXPECT_EQ(model.library().linkList()[0].Title, "aa target");
}

TEST_F(SearchTest, BlankTextsSearchNothing)
{
    EXPECT_FALSE(model.search().Find("   "));
    EXPECT_FALSE(model.search().SearchAgain());
    EXPECT_EQ(model.search().session().lastMatch(), std::nullopt);
}

TEST_F(SearchTest, HistoryKeepsTenTextsEachOnce)
{
    for (int i = 0; i < 11; ++i)
        model.search().Find("text " + std::to_string(i));
    EXPECT_EQ(model.search().session().history().size(), 10u);
    EXPECT_EQ(model.search().session().history().front(), "text 1");
    model.search().Find("text 3");
    EXPECT_EQ(model.search().session().history().back(), "text 3");
    EXPECT_EQ(model.search().session().history().size(), 10u);
    model.search().Find("Text 3"); // case counts
    EXPECT_EQ(model.search().session().history().back(), "Text 3");
    EXPECT_EQ(model.search().session().history().front(), "text 2");
}

} // namespace
} // namespace velloria
