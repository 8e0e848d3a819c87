// Start-up, saving, auto-save, the command gate, closing and what the preferences keep of the
// window.

#include "base/Error.h"
#include "base/TextLines.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace velloria {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class LifecycleTest : public test::MainWindowFixture {
protected:
    // An edit as the editing commands make one: the working file changes and Save is enabled.
    void editLinks() { editLinks(model); }
    void editLinks(MainWindowModel& edited)
    {
        home.write("Links/B.wnl", test::crlf({"0 edited", "1 e.example", "2 ", "3 2026.12.5", "4 new"}));
        edited.lifecycle().libraryChanged();
    }
};

TEST_F(LifecycleTest, StartUpRunsItsStepsInOrder)
{
    writePreferences({"000 1.0", "005 True", "011 5", "012 True", "040 1", "041 True", "038 False"});
    home.write("foldst.wnf", test::crlf({"4", "False", "True"}));
    model.lifecycle().FormCreate();
    // Texts before the layout, the layout before the library, the timer after the library.
    const auto position = [&](const std::string& notice) {
        return std::find(view.notices.begin(), view.notices.end(), notice) - view.notices.begin();
    };
    EXPECT_LT(position("captions"), position("layout"));
    EXPECT_LT(position("layout"), position("tree reset"));
    EXPECT_LT(position("tree reset"), position("timer"));
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewSortByAddress));
    EXPECT_FALSE(model.commandStates().isChecked(Command::ViewSortByTitle));
    EXPECT_TRUE(model.commandStates().isChecked(Command::ViewReversedOrder));
    EXPECT_FALSE(model.commandStates().isChecked(Command::ViewToolbar));
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), 300000);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_FALSE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditUndo));
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
}

TEST_F(LifecycleTest, TheDefaultSortModeTicksNoSortCommandAndIsKept)
{
    model.lifecycle().FormCreate(); // no preferences file: SortMode 5
    for (Command sort : kSortCommands)
        EXPECT_FALSE(model.commandStates().isChecked(sort));
    model.tree().trvFoldersEnter();
    model.tree().selectFolder(4);
    model.tree().trvFoldersExit();
    for (Command sort : kSortCommands)
        EXPECT_FALSE(model.commandStates().isChecked(sort));
    EXPECT_EQ(model.library().linkList()[0].Title, "zeta"); // mode 5 sorts nothing
    model.lifecycle().FormDestroy();
    EXPECT_TRUE(preferenceLine("040 5"));
}

TEST_F(LifecycleTest, AHandEditedSaveIntervalIsBroughtIntoRange)
{
    const std::pair<const char*, int> cases[] = {{"0", 60000}, {"-3", 60000}, {"2147483647", 3600000}, {"7", 420000}};
    for (const auto& [stored, milliseconds] : cases) {
        writePreferences({"000 1.0", "005 True", std::string("011 ") + stored});
        model.lifecycle().FormCreate();
        EXPECT_EQ(model.lifecycle().autoSaveInterval(), milliseconds) << stored;
    }
}

TEST_F(LifecycleTest, SaveMakesTheBackupsEqualAndDisablesItself)
{
    model.lifecycle().FormCreate();
    editLinks();
    EXPECT_TRUE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_TRUE(model.execute(Command::FileSave));
    EXPECT_EQ(home.read("Links/B.~wnl"), home.read("Links/B.wnl"));
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_FALSE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_FALSE(model.execute(Command::FileSave)); // disabled commands never run
}

TEST_F(LifecycleTest, AutoSaveTicksSaveOnlyWhatChanged)
{
    writePreferences({"000 1.0", "005 True", "011 5"});
    model.lifecycle().FormCreate();
    const auto before = home.snapshot();
    model.lifecycle().MainTimerTimer();
    EXPECT_EQ(home.snapshot(), before);
    editLinks();
    model.lifecycle().MainTimerTimer();
    EXPECT_EQ(home.read("Links/B.~wnl"), home.read("Links/B.wnl"));
    EXPECT_FALSE(model.lifecycle().libraryModified());
}

TEST_F(LifecycleTest, NoCommandRunsWhileADialogIsActive)
{
    model.lifecycle().FormCreate();
    editLinks();
    {
        const MainWindowModel::ModalWindow dialog(model);
        { const MainWindowModel::ModalWindow errorOverIt(model); }
        EXPECT_FALSE(model.execute(Command::FileSave)); // the dialog is still open
        model.lifecycle().MainTimerTimer();
        EXPECT_TRUE(model.lifecycle().libraryModified());
        EXPECT_NE(home.read("Links/B.~wnl"), home.read("Links/B.wnl"));
    }
    EXPECT_TRUE(model.execute(Command::FileSave));
}

// A view whose "Save changes?" box stays open over an auto-save tick, then gets No.
class TickDuringQuestion : public test::RecordingView {
public:
    Answer ask(const std::string& question) override
    {
        model->lifecycle().MainTimerTimer();
        return RecordingView::ask(question);
    }
    MainWindowModel* model = nullptr;
};

TEST_F(LifecycleTest, AnAutoSaveTickWhileSaveChangesIsAskedSavesNothingAndNoRestoresTheLastSave)
{
    writePreferences({"000 1.0", "005 True", "011 5"});
    TickDuringQuestion asking;
    asking.model = &model;
    asking.answer = Answer::No;
    model.setObserver(&asking);
    model.lifecycle().FormCreate();
    const std::string saved = home.read("Links/B.wnl");
    editLinks();
    EXPECT_TRUE(model.lifecycle().FormClose());
    EXPECT_EQ(home.read("Links/B.~wnl"), saved);
    EXPECT_EQ(home.read("Links/B.wnl"), saved);
}

TEST_F(LifecycleTest, ClosingWithoutChangesAsksNothingAndWritesTheFolderStates)
{
    show(1);
    EXPECT_TRUE(model.lifecycle().FormClose());
    EXPECT_TRUE(view.questions.empty());
    // Selecting A made it visible: its parent is expanded.
    const std::string firstTwo = test::crlf({"0", "True", "False", "1", "False", "True"});
    EXPECT_EQ(home.read("foldst.wnf").substr(0, firstTwo.size()), firstTwo);
}

TEST_F(LifecycleTest, ClosingWithChangesFollowsTheAnswerToSaveChanges)
{
    const std::string saved = home.read("Links/B.~wnl");
    const std::string edited = test::crlf({"0 edited", "1 e.example", "2 ", "3 2026.12.5", "4 new"});
    struct Case {
        Answer answer;
        bool closes;
        std::string working, backup; // B's link files after the answer
    };
    for (const Case& c : {Case{Answer::Yes, true, edited, edited}, Case{Answer::No, true, saved, saved},
                          Case{Answer::Cancel, false, edited, saved}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        home.write("Links/B.wnl", saved);
        home.write("Links/B.~wnl", saved);
        std::filesystem::remove(home.refLib() / "foldst.wnf");
        MainWindowModel closing{home.path(), clock, opener, "/home/user"};
        closing.setObserver(&view);
        view.questions.clear();
        view.answer = c.answer;
        closing.lifecycle().FormCreate();
        editLinks(closing);
        EXPECT_EQ(closing.lifecycle().FormClose(), c.closes);
        EXPECT_EQ(view.questions, std::vector<std::string>{"Save changes?"});
        EXPECT_EQ(home.read("Links/B.wnl"), c.working);
        EXPECT_EQ(home.read("Links/B.~wnl"), c.backup);
        if (c.answer != Answer::No) // the window closes on No, its state no matter
            EXPECT_EQ(closing.lifecycle().libraryModified(), c.answer == Answer::Cancel);
        EXPECT_EQ(closing.flags().ClosingInProgress, c.answer == Answer::No);
        EXPECT_TRUE(home.exists("foldst.wnf"));
    }
}

TEST_F(LifecycleTest, AFailedSaveAtCloseKeepsTheWindowOpen)
{
    model.lifecycle().FormCreate();
    editLinks();
    std::filesystem::remove(home.links() / "B.~wnl");
    std::filesystem::create_directory(home.links() / "B.~wnl");
    view.answer = Answer::Yes;
    EXPECT_THROW(model.lifecycle().FormClose(), Error);
    EXPECT_TRUE(model.lifecycle().libraryModified());
}

TEST_F(LifecycleTest, DestroyWritesThePreferencesWithTheWindowLayout)
{
    model.lifecycle().FormCreate();
    view.geometry = WindowGeometry{.columnWidths = {150, 320, 90, 80}, .folderPaneWidth = 240,
                                   .descriptionHeight = 70, .maximized = false, .left = 10, .top = 20,
                                   .height = 600, .width = 900};
    model.execute(Command::ViewStatusBar); // writes the preferences at once, status bar unticked
    EXPECT_TRUE(preferenceLine("039 False"));
    model.lifecycle().FormDestroy();
    for (const char* line : {"024 10", "025 20", "026 600", "027 900", "028 False", "031 150", "032 320", "033 90",
                             "034 80", "035 240", "036 70", "039 False"})
        EXPECT_TRUE(preferenceLine(line)) << line;

    view.geometry->maximized = true;
    view.geometry->left = 0;
    model.lifecycle().FormDestroy();
    EXPECT_TRUE(preferenceLine("028 True"));
    EXPECT_TRUE(preferenceLine("024 10")); // the bounds from before the window was maximized
}

TEST_F(LifecycleTest, LastLinkIsOpenedAgainAtStart)
{
    writePreferences({"000 1.0", "010 True", "058 mid", "059 B"});
    model.lifecycle().FormCreate();
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_THAT(opener.opened, ElementsAre("new window: about:blank", "mailto:mid@example.org"));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].LastVisit, "2026.12.5");
}

TEST_F(LifecycleTest, LastLinkInAFolderThatIsGoneOpensNothing)
{
    writePreferences({"000 1.0", "010 True", "058 mid", "059 Gone"});
    model.lifecycle().FormCreate();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(model.tree().selectedFolder(), TFolderTree::npos);
}

} // namespace
} // namespace velloria
