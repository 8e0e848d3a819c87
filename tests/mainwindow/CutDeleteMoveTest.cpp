// Deleting folders and links and undoing it, Cut, Copy and Paste, and moving rows and folders.

#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::size_t>;

const std::vector<test::Link> kOther = {{"r0", "a", "2026.1.1", "2025.1.1", "d0"}, {"r1", "b", "", "", "d1"},
                                        {"r2", "c", "", "", "d2"}, {"r3", "d", "", "", "d3"}, {"r4", "e", "", "", "d4"}};

// The sample library with links in A, A1 and Other, descriptions of A and A2, no confirmation, unsorted.
class CutDeleteMoveTest : public test::MainWindowFixture {
protected:
    CutDeleteMoveTest()
    {
        test::SmallLibrary files = test::sampleLibrary();
        files.descriptions = {"Top", "The top", "B", "Bee", "A", "Ay", "A2", "Ay two"};
        files.links["A"] = {{"a-link", "a.example", "", "2026.1.1", "in A"}};
        files.links["A1"] = {{"a1-link", "a1.example", "", "2026.1.1", "in A1"}};
        files.links["Other"] = kOther;
        test::writeLibrary(home, files);
        open({"000 1.0", "003 False", "037 True", "040 4"});
        model.tree().trvFoldersEnter();
    }
    // B shown (zeta, Alpha, mid), the list focused.
    void showB()
    {
        model.tree().selectFolder(4);
        model.list().lvReferencesEnter();
    }
};

TEST_F(CutDeleteMoveTest, ConfirmationListsTheFolderWithItsLinksOrTheSelectedLinks)
{
    model.tree().selectFolder(4);
    DeleteConfirmation folder(model);
    EXPECT_TRUE(folder.folderMode());
    EXPECT_THAT(folder.lines(), ElementsAre("B (Folder)", "  zeta (Bookmark)", "  Alpha (Bookmark)", "  mid (Bookmark)"));
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 2}, 0);
    DeleteConfirmation links(model);
    EXPECT_FALSE(links.folderMode());
    EXPECT_THAT(links.lines(), ElementsAre("zeta (Bookmark)", "mid (Bookmark)"));
}

TEST_F(CutDeleteMoveTest, AFolderGoesWithItsSubtreeFilesAndDescriptionsAndUndoBringsThemBack)
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

TEST_F(CutDeleteMoveTest, SaveDropsTheFolderUndoCopiesButKeepsUndoEnabled)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditDelete);
    model.execute(Command::FileSave);
    EXPECT_FALSE(home.exists("Links/A.wnt"));
    ASSERT_TRUE(model.commandStates().isEnabled(Command::EditUndo));
    model.execute(Command::EditUndo);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".B", "Other"}));
}

TEST_F(CutDeleteMoveTest, DeletedLinksLeaveTheRowAtThatPlaceOrTheLastSelectedAndUndoPutsThemAtTheEnd)
{
    model.tree().selectFolder(5);
    model.list().lvReferencesEnter();
    model.list().selectRows({0, 3, 4}, 3);
    model.execute(Command::EditDelete);
    EXPECT_EQ(titles(), (test::Lines{"r1", "r2"}));
    EXPECT_EQ(model.selection().selectedRows(), Rows{1});
    EXPECT_EQ(test::linkLines(home.read("Links/Other.wnl")), (test::Lines{"r1 b", "r2 c"}));
    model.tree().selectFolder(0); // undo goes back to the folder of the deletion
    model.execute(Command::EditUndo);
    EXPECT_EQ(model.tree().selectedFolder(), 5u);
    EXPECT_EQ(titles(), (test::Lines{"r1", "r2", "r0", "r3", "r4"}));
    EXPECT_EQ(model.selection().selectedRows(), (Rows{2, 3, 4}));
    EXPECT_EQ(test::linkLines(home.read("Links/Other.wnl")).back(), "r4 e");
}

TEST_F(CutDeleteMoveTest, CopyKeepsTheSelectionAndChangesNothing)
{
    showB();
    model.list().selectRows({0, 2}, 2);
    const auto before = home.snapshot();
    model.execute(Command::EditCopy);
    EXPECT_EQ(model.selection().selectedRows(), (Rows{0, 2}));
    EXPECT_EQ(home.snapshot(), before);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditPaste));
    model.execute(Command::EditPaste); // into the same folder: every title is there already
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"}));
}

TEST_F(CutDeleteMoveTest, CutAndPasteMoveLinksWithTheirFieldsAndSkipTitlesPresentInAnyCase)
{
    home.write("Links/A2.wnl", test::linkFile({{"ZETA", "h.example", "", "2025.1.1", "mine"}}));
    showB();
    model.list().selectRows({0, 1}, 0);
    model.execute(Command::EditCut);
    EXPECT_EQ(titles(), (test::Lines{"mid"}));
    EXPECT_EQ(model.selection().selectedRows(), Rows{0});
    EXPECT_EQ(test::linkLines(home.read("Links/B.wnl")), (test::Lines{"mid mailto:mid@example.org"}));
    EXPECT_TRUE(model.lifecycle().libraryModified());

    model.tree().trvFoldersEnter();
    model.tree().selectFolder(3); // zeta is there as ZETA
    model.execute(Command::EditPaste);
    model.execute(Command::EditPaste); // a second paste finds both present
    EXPECT_EQ(home.read("Links/A2.wnl"),
              test::linkFile({{"ZETA", "h.example", "", "2025.1.1", "mine"},
                              {"Alpha", "a.example/path", "2026.10.1", "2026.1.1", "first by title"}}));
}

TEST_F(CutDeleteMoveTest, CuttingOrDeletingEveryRowEmptiesThePaneAndMovesTheFocusToTheTree)
{
    const std::string links = home.read("Links/B.wnl");
    for (Command command : {Command::EditCut, Command::EditDelete}) {
        home.write("Links/B.wnl", links);
        model.tree().selectFolder(0);
        showB();
        model.list().selectRows({0, 1, 2}, 0);
        recorder.notices.clear();
        model.execute(command);
        EXPECT_EQ(home.read("Links/B.wnl"), "");
        EXPECT_EQ(model.description().text(), "Description:");
        EXPECT_THAT(recorder.notices, ::testing::Contains("focus tree"));
        EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
    }
}

TEST_F(CutDeleteMoveTest, SelectedRowsMoveAsABlockWithTheirFieldsAndAreWrittenAtOnce)
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
        home.write("Links/Other.wnl", test::linkFile(kOther));
        model.tree().selectFolder(4);
        model.tree().selectFolder(5);
        model.list().lvReferencesEnter();
        model.list().selectRows(c.selected, c.selected.front());
        model.execute(c.command);
        EXPECT_EQ(titles(), c.titles);
        EXPECT_EQ(model.selection().selectedRows(), c.selectedAfter);
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

TEST_F(CutDeleteMoveTest, FoldersMoveAmongTheirSiblingsWithTheirSubtrees)
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
