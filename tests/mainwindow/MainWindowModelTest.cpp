// What each focus, selection and click of the two panes shows and enables, opening links, and Help.

#include "mainwindow/MainWindowFixture.h"
#include "platform/FileIO.h"
#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"

#include <gmock/gmock.h>

#include <functional>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
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
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditCut));
    model.tree().selectFolder(0);
    recorder.notices.clear();
    model.list().lvReferencesEnter(); // an empty list sends the focus back
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
    model.tree().selectFolder(4);
    model.list().lvReferencesEnter();
    model.tree().trvFoldersClick();
    EXPECT_EQ(model.description().text(), "Description: Bee");
}

TEST_F(PresentationTest, ExpandAndCollapseAllFolders)
{
    show(4);
    model.execute(Command::ViewExpandAllFolders);
    EXPECT_TRUE(model.library().folderTree()[0].Expanded);
    EXPECT_TRUE(model.library().folderTree()[1].Expanded);
    model.execute(Command::ViewCollapseAllFolders);
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

TEST_F(PresentationTest, EnablingRules)
{
    struct Case {
        const char* what;
        CommandInputs inputs;
        std::string disabled; // names in table order
    };
    // A shown folder of links with its first row selected, in a list sorted by title, changed as asked.
    const auto shown = [](Pane focus, auto change) {
        CommandInputs inputs{.focus = focus, .treeEmpty = false, .folderSelected = true, .listEmpty = false,
                             .rowSelected = true};
        change(inputs);
        return inputs;
    };
    const auto same = [](CommandInputs&) {};
    const Case cases[] = {
        {"an empty tree", {.treeEmpty = true, .clipboardFilled = true},
         "FileSave EditUndo EditAddUrl EditEditItem EditMoveUp EditMoveDown EditCut EditCopy EditPaste EditDelete "
         "EditFind EditSearchAgain ViewExpandAllFolders ViewCollapseAllFolders ToolsGo ToolsGoInNewBrowser ToolsFindDuplicates ToolsCheckLinks"},
        {"the list, sorted", shown(Pane::List, same), "FileSave EditUndo EditMoveUp EditMoveDown EditPaste"},
        {"the list, sorted by add date", shown(Pane::List, [](auto& i) { i.sortMode = 3; }),
         "FileSave EditUndo EditMoveUp EditMoveDown EditPaste"},
        {"the list, unsorted", shown(Pane::List, [](auto& i) { i.sortMode = 4; }), "FileSave EditUndo EditPaste"},
        {"the list, no row selected", shown(Pane::List, [](auto& i) { i.rowSelected = false, i.sortMode = 4; }),
         "FileSave EditUndo EditEditItem EditMoveUp EditMoveDown EditCut EditCopy EditPaste EditDelete"},
        {"out of the tree", shown(Pane::None, [](auto& i) { i.sortMode = 4; }),
         "FileSave EditUndo EditCut EditCopy EditPaste"},
        {"changes, a deletion and a filled clipboard",
         shown(Pane::List, [](auto& i) { i.libraryModified = i.undoAvailable = i.clipboardFilled = true; }),
         "EditMoveUp EditMoveDown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(commandNames(commandStates(c.inputs)), c.disabled) << c.what;
}

TEST_F(PresentationTest, TicksFollowTheBarsAndTheSortMode)
{
    const std::pair<CommandInputs, std::string> cases[] = {
        {{.sortMode = 0, .toolbarShown = true, .statusBarShown = true}, "ViewToolbar ViewStatusBar ViewSortByTitle"},
        {{.sortMode = 3, .reversedOrder = true}, "ViewSortByAddDate ViewReversedOrder"},
        {{.sortMode = 4}, "ViewUnsorted"},
        {{.sortMode = 5}, ""}, // a list that is not sorted ticks no sort command
    };
    for (const auto& [inputs, ticked] : cases)
        EXPECT_EQ(commandNames(commandStates(inputs), true), ticked) << inputs.sortMode;
}

TEST_F(PresentationTest, GoOpensTheAddressAndRecordsTheVisit)
{
    show(4);
    model.list().selectRows({1}, 1); // "Alpha", stored without a scheme
    EXPECT_TRUE(model.execute(Command::ToolsGo));
    EXPECT_THAT(opener.opened, ElementsAre("http://a.example/path"));
    // No sort command is ticked: the preferences written with the visit keep the stored order.
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Alpha");
    EXPECT_THAT(home.read("Links/B.wnl"), HasSubstr("0 Alpha\r\n1 a.example/path\r\n2 2026.12.5\r\n"));
    EXPECT_THAT(test::readBytes(home.path() / "Tessel.cfg"), HasSubstr("\r\n058 Alpha\r\n059 B\r\n"));
    EXPECT_FALSE(model.lifecycle().libraryModified()); // a visit is no edit
}

TEST_F(PresentationTest, AddressesWithASchemeOpenAsTheyAreAndANewWindowComesFirstWhenAskedFor)
{
    const auto go = [&] { model.execute(Command::ToolsGo); };
    const auto goInNew = [&] { model.execute(Command::ToolsGoInNewBrowser); };
    const auto doubleClick = [&] { model.list().lvReferencesDblClick(); };
    const struct {
        std::vector<std::size_t> rows;
        std::function<void()> action;
        test::Lines opened;
    } cases[] = {
        {{0}, go, {"https://z.example/"}},
        {{2}, go, {"mailto:mid@example.org"}},
        {{0}, goInNew, {"new window: about:blank", "https://z.example/"}},
        {{2}, doubleClick, {"new window: about:blank", "mailto:mid@example.org"}},
        {{}, doubleClick, {}}, // no row selected: nothing
    };
    show(4);
    for (const auto& c : cases) {
        model.list().selectRows(c.rows, c.rows.empty() ? TFolderTree::npos : c.rows.front());
        opener.opened.clear();
        c.action();
        EXPECT_EQ(opener.opened, c.opened) << c.rows.size();
    }
}

TEST_F(PresentationTest, HelpWritesThePageOfThisVersionBeforeOpeningItAndTheOtherHelpCommands)
{
    const fs::path page = helpPagePath(home.path());
    const auto shipped = std::find_if(embeddedFiles().begin(), embeddedFiles().end(),
                                      [](const EmbeddedFile& file) { return file.name.ends_with(".html"); });
    ASSERT_NE(shipped, embeddedFiles().end());
    model.lifecycle().FormCreate();
    writeFileAtomically(page, "an older page");
    model.execute(Command::HelpNavigatorHelp);
    EXPECT_EQ(readFile(page), shipped->bytes);
    model.execute(Command::HelpHomePage);
    model.execute(Command::HelpSupport);
    model.execute(Command::HelpAbout);
    const std::string help = "file://" + page.string();
    EXPECT_THAT(opener.opened, ElementsAre(help, "new window: https://velloria.example/",
                                           "mailto:feedback@velloria.example"));
    EXPECT_EQ(recorder.notices.back(), "about");
    // A page that cannot be written is an error, and nothing is opened.
    fs::remove(page);
    fs::create_directory(page);
    EXPECT_THROW(model.execute(Command::HelpNavigatorHelp), Error);
    EXPECT_EQ(opener.opened.size(), 3u);
}

} // namespace
} // namespace velloria
