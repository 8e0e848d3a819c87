// Deleting folders and links, with and without the confirmation, and undoing the deletion.

#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::size_t>;

// The sample library with links in A and A1 and descriptions of A and A2, deleting without
// asking, the list unsorted.
class DeletingTest : public test::MainWindowFixture {
protected:
    DeletingTest()
    {
        test::SmallLibrary files = test::sampleLibrary();
        files.descriptions = {"Top", "The top", "B", "Bee", "A", "Ay", "A2", "Ay two"};
        files.links["A"] = {{"a-link", "a.example", "", "2026.1.1", "in A"}};
        files.links["A1"] = {{"a1-link", "a1.example", "", "2026.1.1", "in A1"}};
        files.links["Other"] = {{"r0", "a"}, {"r1", "b"}, {"r2", "c"}, {"r3", "d"}, {"r4", "e"}};
        test::writeLibrary(home, files);
        open({"000 1.0", "003 False", "037 True", "040 4"});
        model.tree().trvFoldersEnter();
    }
};

TEST_F(DeletingTest, ConfirmationListsSubfoldersOrLinks)
{
    model.tree().selectFolder(1); // A, with subfolders
    EXPECT_THAT(DeleteConfirmation(model).lines(), ElementsAre("A (Folder)", "  A1 (Folder)", "  A2 (Folder)"));
    model.tree().selectFolder(4); // B, with links
    DeleteConfirmation folder(model);
    EXPECT_TRUE(folder.folderMode());
    EXPECT_THAT(folder.lines(), ElementsAre("B (Folder)", "  zeta (Bookmark)", "  Alpha (Bookmark)", "  mid (Bookmark)"));
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 2}, 0);
    DeleteConfirmation links(model);
    EXPECT_FALSE(links.folderMode());
    EXPECT_THAT(links.lines(), ElementsAre("zeta (Bookmark)", "mid (Bookmark)"));
}

TEST_F(DeletingTest, AFolderGoesWithItsSubtreeFilesAndDescriptionsAndUndoBringsThemBack)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".B", "Other"}));
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "Other"}));
    EXPECT_FALSE(home.exists("Links/A1.wnl"));
    EXPECT_EQ(home.read("folddesc.wnf"), test::crlf({"Top", "The top", "B", "Bee"}));
    EXPECT_TRUE(home.exists("Links/A.wnt"));
    EXPECT_EQ(model.tree().selectedFolder(), 1u); // the next sibling, B
    EXPECT_TRUE(model.lifecycle().libraryModified());

    model.execute(Command::EditUndo);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "\tA", "\t\tA1", "\t\tA2", "Other"}));
    EXPECT_EQ(home.read("Links/A1.wnl"), test::linkFile({{"a1-link", "a1.example", "", "2026.1.1", "in A1"}}));
    EXPECT_FALSE(home.exists("Links/A.wnt"));
    EXPECT_THAT(home.read("folddesc.wnf"), HasSubstr(test::crlf({"A2", "Ay two"})));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditUndo));
    EXPECT_EQ(model.library().folderTree()[model.tree().selectedFolder()].Name, "A2"); // the last one put back
    model.tree().selectFolder(2);
    EXPECT_EQ(model.description().text(), "Description: Ay");
}

TEST_F(DeletingTest, UndoAfterTheNameWasTakenAgainRenamesTheWholeBranch)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    model.tree().selectFolder(0);
    model.editing().addFolder("a", ""); // takes the name, in another letter case
    model.execute(Command::EditUndo);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".B", ".a", ".A_1", "..A1", "..A2", "Other"}));
    EXPECT_EQ(home.read("Links/A_1.wnl"), test::linkFile({{"a-link", "a.example", "", "2026.1.1", "in A"}}));
    EXPECT_THAT(model.lifecycle().newFolders(), ElementsAre("a", "A_1", "A1", "A2"));
}

TEST_F(DeletingTest, SaveDropsTheFolderUndoCopiesButKeepsUndoEnabled)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    model.execute(Command::FileSave);
    EXPECT_FALSE(home.exists("Links/A.wnt"));
    ASSERT_TRUE(model.commandStates().isEnabled(Command::EditUndo));
    model.execute(Command::EditUndo);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".B", "Other"}));
}

TEST_F(DeletingTest, DeletedLinksLeaveTheRowAtThatPlaceOrTheLastSelectedAndUndoPutsThemAtTheEnd)
{
    model.tree().selectFolder(5);
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 3, 4}, 3);
    model.execute(Command::EditDelete);
    EXPECT_EQ(titles(), (test::Lines{"r1", "r2"}));
    EXPECT_EQ(model.selection().selectedRows(), Rows{1});
    EXPECT_EQ(home.read("Links/Other.wnl"), test::linkFile({{"r1", "b"}, {"r2", "c"}}));
    model.tree().selectFolder(0); // undo goes back to the folder of the deletion
    model.execute(Command::EditUndo);
    EXPECT_EQ(model.tree().selectedFolder(), 5u);
    EXPECT_EQ(titles(), (test::Lines{"r1", "r2", "r0", "r3", "r4"}));
    EXPECT_EQ(model.selection().selectedRows(), (Rows{2, 3, 4}));
    EXPECT_EQ(model.selection().focusedRow(), 2u);
    EXPECT_EQ(test::linkLines(home.read("Links/Other.wnl")).back(), "r4 e");
}

TEST_F(DeletingTest, DeletingEveryLinkMovesTheFocusToTheTree)
{
    model.tree().selectFolder(4);
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 1, 2}, 0);
    recorder.notices.clear();
    model.execute(Command::EditDelete);
    EXPECT_TRUE(model.library().linkList().empty());
    EXPECT_THAT(recorder.notices, ::testing::Contains("focus tree"));
    EXPECT_EQ(model.description().text(), "Description:");
    EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
}

TEST_F(DeletingTest, DeletingTheOnlyFolderLeavesAnEmptyTreeWithOnlyAddFolderOfItsCommands)
{
    home.write("folders.wnf", test::crlf({"Only"}));
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    model.tree().trvFoldersEnter();
    model.execute(Command::EditDelete);
    EXPECT_TRUE(model.library().folderTree().empty());
    EXPECT_EQ(panels(), (test::Lines{"", "", "Folders: ", "Bookmarks: "}));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditFind));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditAddFolder));
}

} // namespace
} // namespace velloria
