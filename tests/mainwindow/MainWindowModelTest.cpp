// The two panes of the main window: what each focus, selection and click event shows and which
// commands it enables.

#include "base/Error.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Panels = std::array<std::string, 4>;

class PresentationTest : public test::MainWindowFixture {};

TEST_F(PresentationTest, FirstFocusOnTheTreeShowsItsFirstFolder)
{
    model.lifecycle().FormCreate();
    EXPECT_EQ(model.tree().selectedFolder(), TFolderTree::npos);
    EXPECT_THAT(disabledCommands(), ElementsAre("FileSave", "EditUndo", "EditPaste"));
    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    EXPECT_TRUE(model.flags().FolderShownOnce);
    EXPECT_TRUE(model.flags().TreeHadFocus);
    EXPECT_EQ(panels(), (Panels{"Top", "", "Folders: 2", "Bookmarks: 0"})); // direct subfolders only
    EXPECT_EQ(model.description().text(), "Description: The top");
    EXPECT_THAT(disabledCommands(), ElementsAre("FileSave", "EditUndo", "EditCut", "EditCopy", "EditPaste",
                                                "ToolsGo", "ToolsGoInNewBrowser"));
}

TEST_F(PresentationTest, FolderWithLinksSelectsItsFirstRowAndEnablesGo)
{
    show(4);
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u));
    EXPECT_EQ(model.selection().focusedRow(), 0u);
    EXPECT_EQ(panels(), (Panels{"B", "zeta", "Folders: 0", "Bookmarks: 3"}));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::ToolsGo));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::ToolsGoInNewBrowser));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));

    model.tree().selectFolder(5); // no link file
    EXPECT_THAT(model.selection().selectedRows(), IsEmpty());
    EXPECT_EQ(panels(), (Panels{"Other", "", "Folders: 0", "Bookmarks: 0"}));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::ToolsGo));
    EXPECT_EQ(model.description().text(), "Description: "); // no pair: empty, not B's
}

TEST_F(PresentationTest, RememberedFolderIsShownButFocusChangesNothingUntilTheNextFolderChange)
{
    home.write("foldst.wnf", test::crlf({"0", "True", "False", "4", "False", "True"}));
    model.lifecycle().FormCreate();
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);
    EXPECT_FALSE(model.flags().FolderShownOnce);
    model.list().selectRows({}, TFolderTree::npos);
    model.tree().trvFoldersEnter();
    EXPECT_THAT(model.selection().selectedRows(), IsEmpty()); // the enter handler stops before reselecting
    EXPECT_THAT(disabledCommands(), ElementsAre("FileSave", "EditUndo", "EditCut", "EditCopy", "EditPaste"));
}

TEST_F(PresentationTest, ListFocusShowsTheRowDescriptionAndEnablesCutAndCopy)
{
    show(4);
    model.tree().trvFoldersExit();
    model.list().lvReferencesEnter();
    EXPECT_FALSE(model.flags().TreeHadFocus);
    EXPECT_EQ(model.description().text(), "Description: last by title");
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditCut));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditCopy));

    model.list().selectRows({1, 2}, 2);
    EXPECT_EQ(model.description().text(), "Description: middle");
    EXPECT_EQ(model.statusBar().text(1), "mid");

    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.description().text(), "Description: Bee");
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));
}

TEST_F(PresentationTest, FocusIntoAnEmptyListGoesBackToTheTree)
{
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    view.notices.clear();
    model.list().lvReferencesEnter();
    EXPECT_THAT(view.notices, ElementsAre("focus tree"));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));
}

TEST_F(PresentationTest, ClickBelowTheRowsSelectsTheLastRow)
{
    show(4);
    model.list().selectRows({}, TFolderTree::npos);
    model.list().lvReferencesClick();
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(2u));
    EXPECT_EQ(model.selection().focusedRow(), 2u);
}

TEST_F(PresentationTest, TreeMouseDownSelectsTheFolderUnderThePointerAndClickShowsItsDescription)
{
    show(4);
    model.list().lvReferencesEnter();
    model.tree().trvFoldersMouseDown(0);
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    model.tree().trvFoldersMouseDown(99); // nothing under the pointer
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    model.tree().selectFolder(4);
    model.list().lvReferencesEnter();
    model.tree().trvFoldersClick();
    EXPECT_EQ(model.description().text(), "Description: Bee");
}

TEST_F(PresentationTest, DescriptionPaneHandsTheFocusBack)
{
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.memDescrEnter(), Pane::Tree);
    model.tree().selectFolder(4);
    model.list().lvReferencesEnter();
    EXPECT_EQ(model.memDescrEnter(), Pane::List);
}

TEST_F(PresentationTest, TheDescriptionPaneShowsItsLabelBeforeAnyFolderIsShown)
{
    EXPECT_EQ(model.description().text(), "Description:");
    home.write("folders.wnf", "");
    std::filesystem::create_directories(home.path() / "Languages");
    std::ofstream(home.path() / "Languages" / "Test.lng", std::ios::binary)
        << test::crlf({"000 1.0", "001 Test", "306 Beschreibung:"});
    writePreferences({"000 1.0", "013 False", "014 " + (home.path() / "Languages" / "Test.lng").string()});
    model.lifecycle().FormCreate();
    EXPECT_EQ(model.description().text(), "Beschreibung:");
}

TEST_F(PresentationTest, EmptyTreeLeavesEveryFolderCommandDisabled)
{
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    EXPECT_EQ(panels(), (Panels{"", "", "Folders: ", "Bookmarks: "}));
    EXPECT_THAT(disabledCommands(),
                ElementsAre("FileSave", "EditUndo", "EditAddUrl", "EditEditItem", "EditMoveUp", "EditMoveDown",
                            "EditCut", "EditCopy", "EditPaste", "EditDelete", "EditFind", "EditSearchAgain",
                            "ViewExpandAllFolders", "ViewCollapseAllFolders", "ToolsGo", "ToolsGoInNewBrowser"));
    EXPECT_TRUE(model.commandStates().isEnabled(Command::EditAddFolder));
}

TEST_F(PresentationTest, ExpandAndCollapseAllFolders)
{
    show(4);
    model.execute(Command::ViewExpandAllFolders);
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);
    EXPECT_TRUE(model.library().folderTree()[1].Expanded);
    EXPECT_FALSE(model.library().folderTree()[2].Expanded); // a leaf cannot be expanded
    view.notices.clear();
    model.execute(Command::ViewCollapseAllFolders);
    EXPECT_EQ(view.notices.front(), "focus tree");
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    for (const auto& folder : model.library().folderTree().records())
        EXPECT_FALSE(folder.Expanded) << folder.Name;
}

TEST_F(PresentationTest, BrokenLinkFileShowsWhatWasReadAndReportsTheError)
{
    home.write("Links/Other.wnl", test::crlf({"0 Kept", "1 a", "2 ", "3 d", "4 x", "bad"}));
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    try {
        model.tree().selectFolder(5);
        FAIL() << "no error reported";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'b' is not a valid integer value");
    }
    EXPECT_EQ(model.library().linkList().size(), 1u);
    EXPECT_EQ(panels(), (Panels{"Other", "Kept", "Folders: 0", "Bookmarks: 1"}));
}

TEST_F(PresentationTest, CaptionsComeFromTheLanguageInUse)
{
    std::filesystem::create_directories(home.path() / "Languages");
    std::ofstream(home.path() / "Languages" / "Test.lng", std::ios::binary)
        << test::crlf({"000 1.0", "001 Test", "103 &Sichern", "202 Sichern", "306 Beschreibung:", "332 Ordner:",
                       "300 Titel", "137 &Ansicht"});
    writePreferences({"000 1.0", "013 False", "014 " + (home.path() / "Languages" / "Test.lng").string(), "040 0"});
    model.lifecycle().FormCreate();
    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.captions().caption(Command::FileSave), "&Sichern");
    EXPECT_EQ(model.captions().hint(Command::FileSave), "Sichern");
    EXPECT_EQ(model.captions().caption(Command::FileExit), "E&xit"); // not in the file: English stays
    EXPECT_EQ(model.captions().menuCaption("mnuView"), "&Ansicht");
    EXPECT_EQ(model.captions().columnCaption(0), "Titel +");
    EXPECT_EQ(model.description().text(), "Beschreibung: The top");
    EXPECT_EQ(model.statusBar().text(2), "Ordner: 2");
}

} // namespace
} // namespace velloria
