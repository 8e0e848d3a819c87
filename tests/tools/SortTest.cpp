// Sorting the link list: the comparison, the stored order, the captions and the selection.

#include "support/Fixtures.h"
#include "tools/Sort.h"

#include <gmock/gmock.h>

#include <numeric>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using Titles = std::vector<std::string>;

TEST(CompareSortValues, FoldsOnlyAsciiLettersAndPutsPrefixesFirst)
{
    EXPECT_EQ(compareSortValues("abc", "ABC"), 0);
    EXPECT_LT(compareSortValues("abc", "abd"), 0);
    EXPECT_LT(compareSortValues("ab", "abc"), 0);
    EXPECT_GT(compareSortValues("b", "abc"), 0);
    EXPECT_LT(compareSortValues("", "a"), 0);
    EXPECT_LT(compareSortValues("Z", "_"), 0);                        // "_" is above "Z" as a code
    EXPECT_GT(compareSortValues("\xC3\xA9", "\xC3\x89"), 0);          // é and É differ by code
    EXPECT_LT(compareSortValues("2026.10.1", "2026.9.30"), 0);        // dates sort as text
}

TEST(ApplySortMode, OrdersLinksWithTheirDescriptionsAsTheListShowsThem)
{
    struct Case {
        int mode;
        bool reversed;
        Titles titles;
        Titles descriptions;
        std::vector<std::size_t> order;
    };
    const std::vector<Case> cases = {
        {0, false, {"Alpha", "alpha", "zeta"}, {"c", "", "z"}, {1, 2, 0}}, // equal titles keep their order
        {0, true, {"zeta", "Alpha", "alpha"}, {"z", "c", ""}, {0, 1, 2}},
        {1, false, {"alpha", "zeta", "Alpha"}, {"", "z", "c"}, {2, 0, 1}},
        {2, false, {"alpha", "Alpha", "zeta"}, {"", "c", "z"}, {2, 1, 0}}, // dates as text, blank first
        {3, true, {"Alpha", "alpha", "zeta"}, {"c", "", "z"}, {1, 2, 0}},
        {4, true, {"zeta", "Alpha", "alpha"}, {"z", "c", ""}, {0, 1, 2}}, // Unsorted: as stored
        {5, false, {"zeta", "Alpha", "alpha"}, {"z", "c", ""}, {0, 1, 2}}, // modes not known too
        {-1, false, {"zeta", "Alpha", "alpha"}, {"z", "c", ""}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        TLinkList links = {{.Title = "zeta", .Address = "b.example", .LastVisit = "2026.1.2", .AddDate = "1"},
                           {.Title = "Alpha", .Address = "c.example", .LastVisit = "2026.1.10", .AddDate = "3"},
                           {.Title = "alpha", .Address = "a.example", .LastVisit = "", .AddDate = "2"}};
        std::vector<std::string> descriptions = {"z", "c"}; // the file ended before the last one
        const std::vector<std::size_t> order = applySortMode(links, descriptions, c.mode, c.reversed);
        Titles titles;
        for (const TLinkRecord& link : links)
            titles.push_back(link.Title);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.reversed ? " reversed" : ""));
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(descriptions, c.descriptions);
        EXPECT_EQ(order, c.order);
    }
}

TEST(RowMovesTo, MovesOnlyTheRowsOutOfOrder)
{
    using Order = std::vector<std::size_t>;
    struct Case {
        Order order;
        std::optional<std::size_t> moves; // nullopt: more than two rows would move
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{0, 1, 2, 3}, 0},
        {{0, 3, 1, 2}, 1},          // an added row put in its place
        {{1, 2, 3, 0}, 1},          // the first row to the end
        {{3, 0, 1, 2}, 1},          // the last row to the front
        {{0, 2, 1, 3}, 1},          // two neighbours change places
        {{4, 0, 1, 5, 2, 3}, 2},    // two pasted rows, each to its place
        {{2, 1, 0}, 2},
        {{3, 2, 1, 0}, std::nullopt}, // reversed: most rows move
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.order));
        const auto moves = rowMovesTo(c.order, 2);
        ASSERT_EQ(moves.has_value(), c.moves.has_value());
        if (!moves)
            continue;
        EXPECT_EQ(moves->size(), *c.moves);
        Order rows(c.order.size());
        std::iota(rows.begin(), rows.end(), std::size_t{0});
        for (const RowMove& move : *moves) {
            EXPECT_TRUE(move.destination != move.from && move.destination != move.from + 1);
            applyMove(rows, move);
        }
        EXPECT_EQ(rows, c.order);
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

TEST_F(SortTest, TheStoredModeOrdersTheListMarksItsColumnAndWritesTheOrder)
{
    const std::string stored = home.read("Links/B.wnl");
    const struct {
        std::string_view mode, reversed;
        Titles titles, captions;
        bool written;
    } cases[] = {
        {"040 0", "041 False", {"Alpha", "mid", "zeta"}, {"Title +", "Address", "Last Visit", "Add Date"}, true},
        {"040 1", "041 False", {"Alpha", "zeta", "mid"}, {"Title", "Address +", "Last Visit", "Add Date"}, true},
        {"040 2", "041 True", {"mid", "Alpha", "zeta"}, {"Title", "Address", "Last Visit -", "Add Date"}, true},
        {"040 5", "041 False", {"zeta", "Alpha", "mid"}, {"Title", "Address", "Last Visit", "Add Date"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        home.write("Links/B.wnl", stored);
        writePreferences({"000 1.0", c.mode, c.reversed});
        MainWindowModel window{home.path(), clock, opener, "/home/user"};
        window.lifecycle().FormCreate();
        window.tree().selectFolder(4);
        Titles shown, captions;
        for (const TLinkRecord& link : window.library().linkList())
            shown.push_back(link.Title);
        for (int column = 0; column < 4; ++column)
            captions.push_back(window.captions().columnCaption(column));
        EXPECT_EQ(shown, c.titles);
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(fileTitles(), c.written ? c.titles : (Titles{"zeta", "Alpha", "mid"}));
    }
    // The descriptions go with their rows, shown and written.
    home.write("Links/B.wnl", stored);
    showB({"000 1.0", "040 0"});
    EXPECT_THAT(model.library().linkDescriptions(), ElementsAre("first by title", "middle", "last by title"));
    EXPECT_EQ(parseLinkFile(home.read("Links/B.wnl")).descriptions, model.library().linkDescriptions());
}

TEST_F(SortTest, UnsortedKeepsTheStoredOrderAndAllowsMoving)
{
    showB({"000 1.0", "040 1"});
    model.list().selectRows({}, TFolderTree::npos);
    model.execute(Command::ViewUnsorted);
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewUnsorted));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditMoveUp));
    model.tree().selectFolder(4);
    EXPECT_EQ(titles(), (Titles{"Alpha", "zeta", "mid"}));
    EXPECT_EQ(model.captions().columnCaption(1), "Address");
}

TEST_F(SortTest, HeaderClicksSortByTheColumnAndFlipTheDirection)
{
    showB({"000 1.0", "040 0"});
    model.list().lvReferencesColumnClick(0);
    EXPECT_EQ(titles(), (Titles{"zeta", "mid", "Alpha"}));
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewReversedOrder));
    EXPECT_EQ(model.captions().columnCaption(0), "Title -");
    EXPECT_EQ(fileTitles(), titles());

    model.list().lvReferencesColumnClick(1);
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewSortByAddress));
    EXPECT_FALSE(model.commandStates().isChecked(Command::ViewReversedOrder));
    EXPECT_EQ(model.captions().columnCaption(1), "Address +");
    EXPECT_EQ(titles(), (Titles{"Alpha", "zeta", "mid"})); // a.example, https:, mailto:
}

TEST_F(SortTest, TheVeryRowsSelectedBeforeASortAreSelectedAfterIt)
{
    home.write("Links/B.wnl", test::linkFile({{"Rome", "r", "", "", "short"}, {"Rome guide", "b", "", "", "long"},
                                              {"Athens", "c", "", "", "other"}}));
    showB({"000 1.0", "040 4"});
    model.list().selectRows({0, 2}, 2); // "Rome" and "Athens"
    model.list().lvReferencesColumnClick(0); // by title, then reversed: Rome guide, Rome, Athens
    EXPECT_EQ(titles(), (Titles{"Rome guide", "Rome", "Athens"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(1u, 2u));
    // The focus goes to the row that was the first selected one before the sort.
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Athens");
}

} // namespace
} // namespace velloria
