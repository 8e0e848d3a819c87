// Moving folders and links up and down.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using Rows = std::vector<std::size_t>;

class ReorderingTest : public test::MainWindowFixture {
protected:
    ReorderingTest()
    {
        open({"000 1.0", "040 4"});
        model.tree().trvFoldersEnter();
    }
};

TEST_F(ReorderingTest, SelectedRowsMoveAsABlockWithTheirFieldsAndAreWrittenAtOnce)
{
    struct Case {
        Rows selected;
        Command command;
        test::Lines titles;
        Rows selectedAfter;
    };
    const test::Lines unchanged = {"r0", "r1", "r2", "r3", "r4"};
    // The cases that change nothing come first: the library is still unmodified after them.
    const Case cases[] = {
        {{0, 3}, Command::EditMoveUp, unchanged, {0, 3}},   // the first row cannot go up
        {{1, 4}, Command::EditMoveDown, unchanged, {1, 4}}, // nor the last down
        {{2, 3}, Command::EditMoveUp, {"r0", "r2", "r3", "r1", "r4"}, {1, 2}},
        {{0, 2}, Command::EditMoveDown, {"r1", "r0", "r3", "r2", "r4"}, {1, 3}},
    };
    for (const Case& c : cases) {
        home.write("Links/Other.wnl", test::linkFile({{"r0", "a", "2026.1.1", "2025.1.1", "d0"}, {"r1", "b", "", "", "d1"},
                                                      {"r2", "c", "", "", "d2"}, {"r3", "d", "", "", "d3"},
                                                      {"r4", "e", "", "", "d4"}}));
        model.tree().selectFolder(4);
        model.tree().selectFolder(5);
        model.list().lvReferencesEnter();
        model.list().selectRows(c.selected, c.selected.front());
        model.execute(c.command);
        EXPECT_EQ(titles(), c.titles);
        EXPECT_EQ(model.selection().selectedRows(), c.selectedAfter);
        EXPECT_EQ(model.selection().focusedRow(), c.selectedAfter.front());
        EXPECT_EQ(model.lifecycle().libraryModified(), c.titles != unchanged);
        model.tree().selectFolder(4);
        model.tree().selectFolder(5); // read back from the file
        ASSERT_EQ(titles(), c.titles);
        for (std::size_t row = 0; row < 5; ++row) {
            EXPECT_EQ(model.library().linkDescriptions()[row], "d" + c.titles[row].substr(1));
            EXPECT_EQ(model.library().linkList()[row].LastVisit, c.titles[row] == "r0" ? "2026.1.1" : "");
        }
    }
}

TEST_F(ReorderingTest, FoldersMoveAmongTheirSiblingsWithTheirSubtrees)
{
    model.tree().selectFolder(1); // A
    model.execute(Command::EditMoveDown);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".B", ".A", "..A1", "..A2", "Other"}));
    EXPECT_EQ(model.library().folderTree()[model.tree().selectedFolder()].Name, "A");
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "\tA", "\t\tA1", "\t\tA2", "Other"}));
    model.execute(Command::EditMoveDown); // the last child stays
    model.tree().selectFolder(5);
    model.execute(Command::EditMoveUp);
    EXPECT_EQ(tree(), (test::Lines{"Other", "Top", ".B", ".A", "..A1", "..A2"}));
    model.execute(Command::EditMoveUp); // the first stays
    EXPECT_EQ(tree().front(), "Other");
}

} // namespace
} // namespace velloria
