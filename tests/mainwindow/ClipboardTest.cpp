// Cut, Copy and Paste of links between folders.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using Titles = std::vector<std::string>;

class ClipboardTest : public test::MainWindowFixture {
protected:
    ClipboardTest()
    {
        home.write("Links/Other.wnl", test::crlf({"0 Home", "1 h.example", "2 ", "3 2025.1.1", "4 mine"}));
        writePreferences({"000 1.0", "040 4"});
        show(4);
        model.list().lvReferencesEnter();
    }
};

TEST_F(ClipboardTest, CopyKeepsTheSelectionAndChangesNothing)
{
    model.list().selectRows({0, 2}, 2);
    const auto before = home.snapshot();
    model.execute(Command::EditCopy);
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u, 2u));
    EXPECT_EQ(model.selection().focusedRow(), 2u);
    EXPECT_EQ(home.snapshot(), before);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditPaste));
    EXPECT_TRUE(model.flags().ClipboardFilled);
    model.execute(Command::EditPaste); // into the same folder: every title is there already
    EXPECT_EQ(titles(), (Titles{"zeta", "Alpha", "mid"}));
}

TEST_F(ClipboardTest, CutAndPasteMoveLinksWithTheirFieldsAndSkipTitlesPresent)
{
    model.list().selectRows({0, 1}, 0);
    model.execute(Command::EditCut);
    EXPECT_EQ(titles(), (Titles{"mid"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u));
    EXPECT_THAT(home.read("Links/B.wnl"), ::testing::Not(::testing::HasSubstr("zeta")));
    EXPECT_TRUE(model.lifecycle().libraryModified());

    model.tree().trvFoldersEnter();
    model.tree().selectFolder(5);
    model.execute(Command::EditPaste);
    model.execute(Command::EditPaste); // a second paste finds the titles present
    EXPECT_EQ(titles(), (Titles{"Home", "zeta", "Alpha"}));
    EXPECT_EQ(model.library().linkList()[2].LastVisit, "2026.10.1");
    EXPECT_EQ(model.library().linkDescriptions()[2], "first by title");
    EXPECT_EQ(home.read("Links/Other.wnl").substr(0, 50), test::crlf({"0 Home", "1 h.example", "2 ", "3 2025.1.1",
                                                                     "4 mine", "0 zeta"}).substr(0, 50));
}

TEST_F(ClipboardTest, ATitleInAnotherLetterCaseIsNotPasted)
{
    model.editing().addLink("home", "other.example", "");
    model.list().selectRows({3}, 3);
    model.execute(Command::EditCopy);
    model.tree().selectFolder(5);
    model.execute(Command::EditPaste);
    EXPECT_EQ(titles(), (Titles{"Home"}));
}

TEST_F(ClipboardTest, CuttingEveryRowEmptiesThePaneAndMovesTheFocusToTheTree)
{
    model.list().selectRows({0, 1, 2}, 0);
    view.notices.clear();
    model.execute(Command::EditCut);
    EXPECT_TRUE(model.library().linkList().empty());
    EXPECT_EQ(model.description().text(), "Description:");
    EXPECT_THAT(view.notices, ::testing::Contains("focus tree"));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
    EXPECT_EQ(home.read("Links/B.wnl"), "");
}

TEST_F(ClipboardTest, NoLimitOnTheRowsTaken)
{
    std::string many;
    for (int i = 0; i < 2500; ++i)
        many += test::crlf({"0 link " + std::to_string(i), "1 x", "2 ", "3 ", "4 "});
    home.write("Links/A1.wnl", many);
    model.tree().selectFolder(2);
    model.list().lvReferencesEnter();
    std::vector<std::size_t> all(2500);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    model.list().selectRows(all, 0);
    model.execute(Command::EditCopy);
    model.tree().selectFolder(5);
    model.execute(Command::EditPaste);
    EXPECT_EQ(model.library().linkList().size(), 2501u);
}

} // namespace
} // namespace velloria
