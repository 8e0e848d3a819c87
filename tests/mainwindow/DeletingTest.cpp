// Deleting folders and links, with and without the confirmation, and undoing the deletion.

#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Titles = std::vector<std::string>;

const std::string fiveLinks =
    test::linkFile({{"r0", "a", "d0"}, {"r1", "b", "d1"}, {"r2", "c", "d2"}, {"r3", "d", "d3"}, {"r4", "e", "d4"}});

class DeletingTest : public test::MainWindowFixture {
protected:
    DeletingTest()
    {
        home.write("Links/A.wnl", test::crlf({"0 a-link", "1 a.example", "2 ", "3 2026.1.1", "4 in A"}));
        home.write("Links/A1.wnl", test::crlf({"0 a1-link", "1 a1.example", "2 ", "3 2026.1.1", "4 in A1"}));
        home.write("folddesc.wnf", test::crlf({"Top", "The top", "B", "Bee", "A", "Ay", "A2", "Ay two"}));
        home.write("folddesc.~wnf", home.read("folddesc.wnf"));
        home.write("Links/A.~wnl", home.read("Links/A.wnl"));
        home.write("Links/A1.~wnl", home.read("Links/A1.wnl"));
        writePreferences({"000 1.0", "003 False", "037 True", "040 4"});
        model.lifecycle().FormCreate();
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

TEST_F(DeletingTest, DontShowAgainHoldsEvenWhenTheAnswerIsNo)
{
    writePreferences({"000 1.0", "003 True", "040 4"});
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    view.notices.clear();
    model.execute(Command::EditDelete);
    ASSERT_EQ(view.notices, std::vector<std::string>{"dialog delete"});
    DeleteConfirmation dialog(model);
    dialog.setDontShowAgain(true); // then No: nothing deleted
    EXPECT_EQ(model.library().folderTree().count(), 6u);
    EXPECT_FALSE(model.prefs().ConfirmDeleting);
    model.execute(Command::EditDelete); // now at once, without a dialog
    EXPECT_EQ(model.library().folderTree().count(), 1u); // Top and its four subfolders went
}

TEST_F(DeletingTest, DeletingAFolderRemovesItsSubtreeFilesAndDescriptions)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".B", "Other"}));
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "Other"}));
    EXPECT_FALSE(home.exists("Links/A.wnl"));
    EXPECT_FALSE(home.exists("Links/A1.wnl"));
    EXPECT_EQ(home.read("folddesc.wnf"), test::crlf({"Top", "The top", "B", "Bee"}));
    EXPECT_TRUE(home.exists("Links/A.wnt"));
    EXPECT_EQ(model.tree().selectedFolder(), 1u); // the next sibling, B
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditUndo));
}

TEST_F(DeletingTest, UndoBringsTheSubtreeBackWithLinksAndDescriptions)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    model.execute(Command::EditUndo);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".B", ".A", "..A1", "..A2", "Other"}));
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "\tA", "\t\tA1", "\t\tA2", "Other"}));
    EXPECT_EQ(home.read("Links/A1.wnl"), test::crlf({"0 a1-link", "1 a1.example", "2 ", "3 2026.1.1", "4 in A1"}));
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
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".B", ".a", ".A_1", "..A1", "..A2", "Other"}));
    EXPECT_EQ(home.read("Links/A_1.wnl"), test::crlf({"0 a-link", "1 a.example", "2 ", "3 2026.1.1", "4 in A"}));
    EXPECT_THAT(model.lifecycle().newFolders(), ElementsAre("a", "A_1", "A1", "A2"));
}

TEST_F(DeletingTest, SaveDropsTheFolderUndoCopiesButKeepsUndoEnabled)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    model.execute(Command::FileSave);
    EXPECT_FALSE(home.exists("Links/A.wnt"));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditUndo));
    model.execute(Command::EditUndo);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".B", "Other"}));
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tB", "Other"}));
}

TEST_F(DeletingTest, DeletingLinksSelectsTheRowAtThatPlaceOrTheLast)
{
    home.write("Links/Other.wnl", fiveLinks);
    model.tree().selectFolder(5);
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 3, 4}, 3);
    model.execute(Command::EditDelete);
    EXPECT_EQ(titles(), (Titles{"r1", "r2"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(1u));
    EXPECT_EQ(model.description().text(), "Description: d2");
    EXPECT_EQ(model.statusBar().text(3), "Bookmarks: 2");
    EXPECT_EQ(home.read("Links/Other.wnl"), test::linkFile({{"r1", "b", "d1"}, {"r2", "c", "d2"}}));
}

TEST_F(DeletingTest, UndoOfLinksPutsThemAtTheEndSelected)
{
    home.write("Links/Other.wnl", fiveLinks);
    model.tree().selectFolder(5);
    model.list().lvReferencesEnter();
    model.list().selectRows({1, 2}, 1);
    model.execute(Command::EditDelete);
    model.tree().selectFolder(0); // undo goes back to the folder of the deletion
    model.execute(Command::EditUndo);
    EXPECT_EQ(model.tree().selectedFolder(), 5u);
    EXPECT_EQ(titles(), (Titles{"r0", "r3", "r4", "r1", "r2"}));
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(3u, 4u));
    EXPECT_EQ(model.selection().focusedRow(), 3u);
    EXPECT_THAT(home.read("Links/Other.wnl"), HasSubstr(test::crlf({"0 r2", "1 c", "2 ", "3 ", "4 d2"})));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditUndo));
}

TEST_F(DeletingTest, DeletingEveryLinkMovesTheFocusToTheTree)
{
    model.tree().selectFolder(4);
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 1, 2}, 0);
    view.notices.clear();
    model.execute(Command::EditDelete);
    EXPECT_TRUE(model.library().linkList().empty());
    EXPECT_THAT(view.notices, ::testing::Contains("focus tree"));
    EXPECT_EQ(model.description().text(), "Description:");
    EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
}

TEST_F(DeletingTest, DeletingTheOnlyFolderLeavesFolderCommandsDisabled)
{
    home.write("folders.wnf", test::crlf({"Only"}));
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    model.tree().trvFoldersEnter();
    model.execute(Command::EditDelete);
    EXPECT_TRUE(model.library().folderTree().empty());
    for (Command command : {Command::EditAddUrl, Command::EditEditItem, Command::EditPaste, Command::EditDelete,
                            Command::ToolsGo})
        EXPECT_FALSE(model.commandStates().isEnabled(command)) << commandInfo(command).name;
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditAddFolder));
}

} // namespace
} // namespace velloria
