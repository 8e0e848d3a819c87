// Moving folders and links up and down, and dragging a folder onto another.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using Titles = std::vector<std::string>;

class ReorderingTest : public test::MainWindowFixture {
protected:
    ReorderingTest()
    {
        home.write("Links/Other.wnl", test::crlf({"0 r0", "1 a", "2 2026.1.1", "3 2025.1.1", "4 d0", "0 r1", "1 b",
                                                  "2 ", "3 ", "4 d1", "0 r2", "1 c", "2 ", "3 ", "4 d2", "0 r3",
                                                  "1 d", "2 ", "3 ", "4 d3", "0 r4", "1 e", "2 ", "3 ", "4 d4"}));
        writePreferences({"000 1.0", "040 4"});
        model.lifecycle().FormCreate();
        model.tree().trvFoldersEnter();
    }
    void showOtherInList(std::vector<std::size_t> rows)
    {
        model.tree().selectFolder(5);
        model.list().lvReferencesEnter();
        model.list().selectRows(rows, rows.front());
    }
};

TEST_F(ReorderingTest, RowsMoveUpAsABlockAndAreWrittenAtOnce)
{
    showOtherInList({2, 3});
    model.execute(Command::EditMoveUp);
    EXPECT_EQ(titles(), (Titles{"r0", "r2", "r3", "r1", "r4"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(1u, 2u));
    EXPECT_EQ(model.selection().focusedRow(), 1u);
    EXPECT_THAT(model.library().linkDescriptions(), ElementsAre("d0", "d2", "d3", "d1", "d4"));
    EXPECT_TRUE(model.lifecycle().libraryModified());
    model.tree().selectFolder(4);
    model.tree().selectFolder(5); // read back from the file
    EXPECT_EQ(titles(), (Titles{"r0", "r2", "r3", "r1", "r4"}));
}

TEST_F(ReorderingTest, RowsMoveDownInReverseOrder)
{
    showOtherInList({0, 2});
    model.execute(Command::EditMoveDown);
    EXPECT_EQ(titles(), (Titles{"r1", "r0", "r3", "r2", "r4"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(1u, 3u));
    EXPECT_EQ(model.library().linkList()[1].LastVisit, "2026.1.1"); // a moved link keeps its fields
    EXPECT_EQ(model.library().linkDescriptions()[1], "d0");
}

TEST_F(ReorderingTest, TheFirstRowCannotGoUpNorTheLastDown)
{
    showOtherInList({0, 3});
    model.execute(Command::EditMoveUp);
    model.list().selectRows({1, 4}, 4);
    model.execute(Command::EditMoveDown);
    EXPECT_EQ(titles(), (Titles{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_FALSE(model.lifecycle().libraryModified());
}

TEST_F(ReorderingTest, FoldersMoveAmongTheirSiblingsWithTheirSubtrees)
{
    model.tree().selectFolder(1); // A
    model.execute(Command::EditMoveDown);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".B", ".A", "..A1", "..A2", "Other"}));
    EXPECT_EQ(model.library().folderTree()[model.tree().selectedFolder()].Name, "A");
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "\tA", "\t\tA1", "\t\tA2", "Other"}));
    model.execute(Command::EditMoveDown); // the last child stays
    model.tree().selectFolder(5);
    model.execute(Command::EditMoveUp);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Other", "Top", ".B", ".A", "..A1", "..A2"}));
    model.execute(Command::EditMoveUp); // the first stays
    EXPECT_EQ(tree().front(), "Other");
}

TEST_F(ReorderingTest, DropMakesTheFolderTheFirstChildOfTheTarget)
{
    EXPECT_FALSE(model.reordering().trvFoldersDragOver(1, 1)); // onto itself
    EXPECT_FALSE(model.reordering().trvFoldersDragOver(1, 3)); // onto its own subfolder
    EXPECT_TRUE(model.reordering().trvFoldersDragOver(1, 5));
    model.reordering().trvFoldersDragDrop(4, 1); // B into A
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".A", "..B", "..A1", "..A2", "Other"}));
    EXPECT_EQ(model.library().folderTree()[model.tree().selectedFolder()].Name, "A");
    EXPECT_TRUE(model.library().folderTree()[1].Expanded);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tA", "\t\tB", "\t\tA1", "\t\tA2", "Other"}));
    EXPECT_TRUE(model.lifecycle().libraryModified());
    model.reordering().trvFoldersDragDrop(0, 5); // Top with everything under Other
    EXPECT_EQ(tree(), (std::vector<std::string>{"Other", ".Top", "..A", "...B", "...A1", "...A2"}));
}

} // namespace
} // namespace velloria
