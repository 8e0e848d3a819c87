// The two panes of the main window: what each focus, selection and click event shows and which
// commands it enables.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Rows = std::vector<std::size_t>;

class PresentationTest : public test::MainWindowFixture {};

TEST_F(PresentationTest, EachFolderShowsItsCountsDescriptionFirstRowAndCommands)
{
    struct Case {
        std::size_t folder;
        test::Lines panels;
        std::string description;
        Rows selected;
        std::string disabled;
    };
    const std::string noCut = "FileSave EditUndo EditCut EditCopy EditPaste";
    const Case cases[] = {
        // Only direct subfolders are counted.
        {0, {"Top", "", "Folders: 2", "Bookmarks: 0"}, "Description: The top", {}, noCut + " ToolsGo ToolsGoInNewBrowser"},
        {4, {"B", "zeta", "Folders: 0", "Bookmarks: 3"}, "Description: Bee", {0}, noCut},
        // No description pair: empty, not B's.
        {5, {"Other", "", "Folders: 0", "Bookmarks: 0"}, "Description: ", {}, noCut + " ToolsGo ToolsGoInNewBrowser"},
    };
    model.lifecycle().FormCreate();
    EXPECT_EQ(disabledCommands(), "FileSave EditUndo EditPaste");
    model.tree().trvFoldersEnter(); // the first focus on the tree shows its first folder
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    for (const Case& c : cases) {
        model.tree().selectFolder(c.folder);
        EXPECT_EQ(panels(), c.panels) << c.folder;
        EXPECT_EQ(model.description().text(), c.description) << c.folder;
        EXPECT_EQ(model.selection().selectedRows(), c.selected) << c.folder;
        EXPECT_EQ(disabledCommands(), c.disabled) << c.folder;
    }
}

TEST_F(PresentationTest, RememberedFolderIsShownButFocusChangesNothingUntilTheNextFolderChange)
{
    home.write("foldst.wnf", test::crlf({"0", "True", "False", "4", "False", "True"}));
    model.lifecycle().FormCreate();
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);
    model.list().selectRows({}, TFolderTree::npos);
    model.tree().trvFoldersEnter();
    EXPECT_THAT(model.selection().selectedRows(), IsEmpty()); // the enter handler stops before reselecting
}

TEST_F(PresentationTest, ListFocusShowsTheRowDescriptionAndEnablesCutAndCopy)
{
    show(4);
    model.tree().trvFoldersExit();
    model.list().lvReferencesEnter();
    EXPECT_EQ(model.description().text(), "Description: last by title");
    EXPECT_EQ(disabledCommands(), "FileSave EditUndo EditPaste");
    model.list().selectRows({1, 2}, 2);
    EXPECT_EQ(model.description().text(), "Description: middle");
    EXPECT_EQ(model.statusBar().text(1), "mid");
    EXPECT_EQ(model.memDescrEnter(), Pane::List); // the description pane hands the focus back
    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.description().text(), "Description: Bee");
    EXPECT_EQ(model.memDescrEnter(), Pane::Tree);
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));
}

TEST_F(PresentationTest, FocusIntoAnEmptyListGoesBackToTheTree)
{
    show(0);
    recorder.notices.clear();
    model.list().lvReferencesEnter();
    EXPECT_THAT(recorder.notices, ElementsAre("focus tree"));
}

TEST_F(PresentationTest, ClicksSelectTheLastRowBelowTheRowsAndTheFolderUnderThePointer)
{
    show(4);
    model.list().selectRows({}, TFolderTree::npos);
    model.list().lvReferencesClick();
    EXPECT_EQ(model.selection().selectedRows(), Rows{2});
    EXPECT_EQ(model.selection().focusedRow(), 2u);
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

TEST_F(PresentationTest, CaptionsComeFromTheLanguageInUse)
{
    EXPECT_EQ(model.description().text(), "Description:"); // the label before any folder is shown
    const auto language = home.path() / "Languages" / "Test.lng";
    test::writeBytes(language, test::crlf({"000 1.0", "001 Test", "103 &Sichern", "202 Sichern",
                                           "306 Beschreibung:", "332 Ordner:", "300 Titel", "137 &Ansicht"}));
    open({"000 1.0", "013 False", "014 " + language.string(), "040 0"});
    EXPECT_EQ(model.description().text(), "Beschreibung:");
    model.tree().trvFoldersEnter();
    EXPECT_EQ(model.captions().caption(Command::FileSave), "&Sichern");
    EXPECT_EQ(model.captions().hint(Command::FileSave), "Sichern");
    EXPECT_EQ(model.captions().caption(Command::FileExit), "E&xit"); // not in the file: English stays
    EXPECT_EQ(model.captions().menuCaption("mnuView"), "&Ansicht");
    EXPECT_EQ(model.captions().columnCaption(0), "Titel +");
    EXPECT_EQ(model.description().text(), "Beschreibung: The top");
    EXPECT_EQ(model.statusBar().text(2), "Ordner: 2");
}

TEST_F(PresentationTest, ExpandAndCollapseAllFolders)
{
    show(4);
    model.execute(Command::ViewExpandAllFolders);
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);
    EXPECT_TRUE(model.library().folderTree()[1].Expanded);
    EXPECT_FALSE(model.library().folderTree()[2].Expanded); // a leaf cannot be expanded
    recorder.notices.clear();
    model.execute(Command::ViewCollapseAllFolders);
    EXPECT_EQ(recorder.notices.front(), "focus tree");
    EXPECT_EQ(model.tree().selectedFolder(), 0u);
    for (const auto& folder : model.library().folderTree().records())
        EXPECT_FALSE(folder.Expanded) << folder.Name;
}

TEST_F(PresentationTest, BrokenLinkFileShowsWhatWasReadAndReportsTheError)
{
    home.write("Links/Other.wnl", test::crlf({"0 Kept", "1 a", "2 ", "3 d", "4 x", "bad"}));
    show(0);
    EXPECT_EQ(test::errorOf([&] { model.tree().selectFolder(5); }), "'b' is not a valid integer value");
    EXPECT_EQ(panels(), (test::Lines{"Other", "Kept", "Folders: 0", "Bookmarks: 1"}));
}

} // namespace
} // namespace velloria
