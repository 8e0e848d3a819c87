// Sorting the link list: the comparison, the stored order, the captions and the selection.

#include "support/Fixtures.h"
#include "tools/Sort.h"

#include <gmock/gmock.h>

#include <map>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using Titles = std::vector<std::string>;

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

} // namespace
} // namespace velloria
