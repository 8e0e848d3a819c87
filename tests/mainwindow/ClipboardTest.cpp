// Cut, Copy and Paste of links between folders.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using Rows = std::vector<std::size_t>;

// The sample library with ZETA in Other; B is shown unsorted and the list has the focus.
class ClipboardTest : public test::MainWindowFixture {
protected:
    ClipboardTest()
    {
        home.write("Links/Other.wnl", test::linkFile({{"ZETA", "h.example", "", "2025.1.1", "mine"}}));
        writePreferences({"000 1.0", "040 4"});
        show(4);
        model.list().lvReferencesEnter();
    }
    void pasteInto(std::size_t folder)
    {
        model.tree().selectFolder(folder);
        model.execute(Command::EditPaste);
    }
};

TEST_F(ClipboardTest, CopyKeepsTheSelectionAndChangesNothing)
{
    model.list().selectRows({0, 2}, 2);
    const auto before = home.snapshot();
    model.execute(Command::EditCopy);
    EXPECT_EQ(model.selection().selectedRows(), (Rows{0, 2}));
    EXPECT_EQ(model.selection().focusedRow(), 2u);
    EXPECT_EQ(home.snapshot(), before);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditPaste));
    model.execute(Command::EditPaste); // into the same folder: every title is there already
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"}));
}

TEST_F(ClipboardTest, CutAndPasteMoveLinksWithTheirFieldsAndSkipTitlesPresentInAnyCase)
{
    model.list().selectRows({0, 1}, 0);
    model.execute(Command::EditCut);
    EXPECT_EQ(titles(), (test::Lines{"mid"}));
    EXPECT_EQ(model.selection().selectedRows(), Rows{0});
    EXPECT_EQ(test::linkLines(home.read("Links/B.wnl")), (test::Lines{"mid mailto:mid@example.org"}));
    EXPECT_TRUE(model.lifecycle().libraryModified());

    model.tree().trvFoldersEnter();
    pasteInto(5); // zeta is there as ZETA
    model.execute(Command::EditPaste); // a second paste finds both present
    EXPECT_EQ(home.read("Links/Other.wnl"),
              test::linkFile({{"ZETA", "h.example", "", "2025.1.1", "mine"},
                              {"Alpha", "a.example/path", "2026.10.1", "2026.1.1", "first by title"}}));
}

TEST_F(ClipboardTest, CuttingEveryRowEmptiesThePaneAndMovesTheFocusToTheTree)
{
    model.list().selectRows({0, 1, 2}, 0);
    recorder.notices.clear();
    model.execute(Command::EditCut);
    EXPECT_EQ(model.description().text(), "Description:");
    EXPECT_THAT(recorder.notices, ::testing::Contains("focus tree"));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
    EXPECT_EQ(home.read("Links/B.wnl"), "");
}

TEST_F(ClipboardTest, NoLimitOnTheRowsTaken)
{
    std::vector<test::Link> many;
    Rows all;
    for (std::size_t i = 0; i < 2500; ++i) {
        many.push_back({"link " + std::to_string(i), "x"});
        all.push_back(i);
    }
    home.write("Links/A1.wnl", test::linkFile(many));
    model.tree().selectFolder(2);
    model.list().lvReferencesEnter();
    model.list().selectRows(all, 0);
    model.execute(Command::EditCopy);
    pasteInto(5);
    EXPECT_EQ(model.library().linkList().size(), 2501u);
}

} // namespace
} // namespace velloria
