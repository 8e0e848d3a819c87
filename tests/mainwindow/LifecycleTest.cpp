// Start-up, saving, auto-save, the command gate, closing and what the preferences keep of the window.

#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;

const std::string kEdited = test::linkFile({{"edited", "e.example", "", "2026.12.5", "new"}});

class LifecycleTest : public test::MainWindowFixture {
protected:
    // An edit as the editing commands make one: the working file changes and Save is enabled.
    void editLinks(MainWindowModel& edited)
    {
        home.write("Links/B.wnl", kEdited);
        edited.lifecycle().libraryChanged();
    }
};

TEST_F(LifecycleTest, StartUpTakesTheBarsSortIntervalAndFolderStatesFromTheFiles)
{
    home.write("foldst.wnf", test::crlf({"4", "False", "True"}));
    open({"000 1.0", "005 True", "011 5", "012 True", "040 1", "041 True", "038 False", "039 True"});
    EXPECT_EQ(commandNames(model.commandStates(), true), "ViewStatusBar ViewSortByAddress ViewReversedOrder");
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), 300000);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
}

TEST_F(LifecycleTest, AHandEditedSaveIntervalIsBroughtIntoRange)
{
    const std::pair<const char*, int> cases[] = {{"0", 60000}, {"-3", 60000}, {"2147483647", 3600000}, {"7", 420000}};
    for (const auto& [stored, milliseconds] : cases) {
        open({"000 1.0", "005 True", std::string("011 ") + stored});
        EXPECT_EQ(model.lifecycle().autoSaveInterval(), milliseconds) << stored;
    }
}

TEST_F(LifecycleTest, SaveAndTheAutoSaveTickSaveWhatChangedButNotWhileADialogIsActive)
{
    open({"000 1.0", "005 True", "011 5"});
    const auto before = home.snapshot();
    model.lifecycle().MainTimerTimer();
    EXPECT_EQ(home.snapshot(), before);
    editLinks(model);
    {
        const MainWindowModel::ModalWindow dialog(model);
        { const MainWindowModel::ModalWindow errorOverIt(model); }
        EXPECT_FALSE(model.execute(Command::FileSave)); // the dialog is still open
        model.lifecycle().MainTimerTimer();
        EXPECT_TRUE(model.lifecycle().libraryModified());
        EXPECT_NE(home.read("Links/B.~wnl"), kEdited);
    }
    model.lifecycle().MainTimerTimer();
    EXPECT_EQ(home.read("Links/B.~wnl"), kEdited);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    editLinks(model);
    EXPECT_TRUE(model.execute(Command::FileSave));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_FALSE(model.execute(Command::FileSave)); // disabled commands never run
}

// A view whose "Save changes?" box stays open over an auto-save tick.
class TickDuringQuestion : public test::RecordingView {
public:
    Answer ask(const std::string& question) override
    {
        model->lifecycle().MainTimerTimer();
        return RecordingView::ask(question);
    }
    MainWindowModel* model = nullptr;
};

TEST_F(LifecycleTest, ClosingAsksToSaveChangesOnlyAfterAChangeAndFollowsTheAnswer)
{
    show(1);
    EXPECT_TRUE(model.lifecycle().FormClose());
    EXPECT_TRUE(recorder.questions.empty());
    // Selecting A made it visible: its parent is expanded.
    const std::string firstTwo = test::crlf({"0", "True", "False", "1", "False", "True"});
    EXPECT_EQ(home.read("foldst.wnf").substr(0, firstTwo.size()), firstTwo);

    // An auto-save tick while the question is open saves nothing.
    writePreferences({"000 1.0", "005 True", "011 5"});
    const std::string saved = home.read("Links/B.~wnl");
    struct Case {
        Answer answer;
        bool closes;
        std::string working, backup; // B's link files after the answer
    };
    for (const Case& c : {Case{Answer::Yes, true, kEdited, kEdited}, Case{Answer::No, true, saved, saved},
                          Case{Answer::Cancel, false, kEdited, saved}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        home.write("Links/B.wnl", saved);
        home.write("Links/B.~wnl", saved);
        std::filesystem::remove(home.refLib() / "foldst.wnf");
        MainWindowModel closing{home.path(), clock, opener, "/home/user"};
        TickDuringQuestion asking;
        asking.model = &closing;
        asking.answer = c.answer;
        closing.setObserver(&asking);
        closing.lifecycle().FormCreate();
        editLinks(closing);
        EXPECT_EQ(closing.lifecycle().FormClose(), c.closes);
        EXPECT_EQ(asking.questions, test::Lines{"Save changes?"});
        EXPECT_EQ(home.read("Links/B.wnl"), c.working);
        EXPECT_EQ(home.read("Links/B.~wnl"), c.backup);
        if (c.answer != Answer::No) { // the window closes on No, its state no matter
            EXPECT_EQ(closing.lifecycle().libraryModified(), c.answer == Answer::Cancel);
        }
        EXPECT_EQ(closing.flags().ClosingInProgress, c.answer == Answer::No);
        EXPECT_TRUE(home.exists("foldst.wnf"));
    }
}

TEST_F(LifecycleTest, AFailedSaveAtCloseKeepsTheWindowOpen)
{
    model.lifecycle().FormCreate();
    editLinks(model);
    std::filesystem::remove(home.links() / "B.~wnl");
    std::filesystem::create_directory(home.links() / "B.~wnl");
    recorder.answer = Answer::Yes;
    EXPECT_THROW(model.lifecycle().FormClose(), Error);
    EXPECT_TRUE(model.lifecycle().libraryModified());
}

TEST_F(LifecycleTest, TheLastLinkIsOpenedAgainAtStartWhenItsFolderIsThere)
{
    open({"000 1.0", "010 True", "058 mid", "059 Gone"});
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(model.tree().selectedFolder(), TFolderTree::npos);
    open({"000 1.0", "010 True", "058 mid", "059 B"});
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_THAT(opener.opened, ElementsAre("new window: about:blank", "mailto:mid@example.org"));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].LastVisit, "2026.12.5");
}

} // namespace
} // namespace velloria
