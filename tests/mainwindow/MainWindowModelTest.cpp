// The main window model without a window: what selecting folders and rows shows.

#include "mainwindow/MainWindowModel.h"
#include "platform/Clock.h"
#include "store/Error.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloria {
namespace {

using test::crlf;
using ::testing::ElementsAre;

// Records the notices in order.
class Recorder : public MainWindowObserver {
public:
    void folderTreeAboutToBeReset() override { notices.push_back("tree about to reset"); }
    void folderTreeReset() override { notices.push_back("tree reset"); }
    void linkListAboutToBeReset() override { notices.push_back("list about to reset"); }
    void linkListReset() override { notices.push_back("list reset"); }
    std::vector<std::string> notices;
};

class MainWindowModelTest : public ::testing::Test {
protected:
    MainWindowModelTest()
    {
        home.write("folders.wnf", crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other"}));
        home.write("folddesc.wnf", crlf({"Top", "The top", "B", "Bee"}));
        home.write("Links/B.wnl", crlf({"0 One", "1 https://one.example/", "2 ", "3 2026.1.1", "4 first link",
                                        "0 Two", "1 https://two.example/", "2 ", "3 2026.1.2", "4 second link"}));
        home.write("foldst.wnf", crlf({"0", "True", "False", "4", "False", "True"}));
    }

    std::array<std::string, 4> panels() const
    {
        return {model.statusPanel(0), model.statusPanel(1), model.statusPanel(2), model.statusPanel(3)};
    }

    test::TempHome home;
    FixedClock clock{{2026, 12, 5}};
    MainWindowModel model{home.path(), clock};
};

TEST_F(MainWindowModelTest, StartShowsTheRememberedFolderWithItsFirstRowSelected)
{
    Recorder recorder;
    model.setObserver(&recorder);
    model.loadLibrary(RestoreFolderStates::Yes);
    EXPECT_EQ(model.selectedFolder(), 4u);
    EXPECT_EQ(model.linkList().size(), 2u);
    EXPECT_TRUE(model.isRowSelected(0));
    EXPECT_EQ(model.focusedRow(), 0u);
    EXPECT_EQ(model.descriptionText(), "Description: Bee");
    EXPECT_EQ(panels(), (std::array<std::string, 4>{"B", "One", "Folders: 0", "Bookmarks: 2"}));
    EXPECT_THAT(recorder.notices,
                ElementsAre("tree about to reset", "tree reset", "list about to reset", "list reset"));
}

TEST_F(MainWindowModelTest, WithoutRememberedSelectionTheFirstFolderIsShown)
{
    model.loadLibrary(RestoreFolderStates::No);
    EXPECT_EQ(model.selectedFolder(), 0u);
    EXPECT_EQ(panels(), (std::array<std::string, 4>{"Top", "", "Folders: 2", "Bookmarks: 0"}));
    EXPECT_EQ(model.descriptionText(), "Description: The top");
}

TEST_F(MainWindowModelTest, FolderWithoutDescriptionShowsAnEmptyOne)
{
    model.loadLibrary(RestoreFolderStates::Yes);
    model.selectFolder(1);
    EXPECT_EQ(model.descriptionText(), "Description: ");
    EXPECT_EQ(model.library().folderDescription(), "");
    EXPECT_EQ(panels(), (std::array<std::string, 4>{"A", "", "Folders: 2", "Bookmarks: 0"}));
}

TEST_F(MainWindowModelTest, TheListShowsTheFocusedRowsDescriptionWhileItHasTheFocus)
{
    model.loadLibrary(RestoreFolderStates::Yes);
    model.setListHasFocus(true);
    EXPECT_EQ(model.descriptionText(), "Description: first link");
    model.selectRows({0, 1}, 1);
    EXPECT_EQ(model.descriptionText(), "Description: second link");
    EXPECT_EQ(model.statusPanel(1), "Two");
    model.setListHasFocus(false);
    EXPECT_EQ(model.descriptionText(), "Description: Bee");
}

TEST_F(MainWindowModelTest, BrokenLinkFileShowsWhatWasReadAndReportsTheError)
{
    home.write("Links/Other.wnl", crlf({"0 Kept", "1 a", "2 ", "3 d", "4 x", "bad"}));
    model.loadLibrary(RestoreFolderStates::Yes);
    try {
        model.selectFolder(5);
        FAIL() << "no error reported";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'b' is not a valid integer value");
    }
    EXPECT_EQ(model.linkList().size(), 1u);
    EXPECT_EQ(panels(), (std::array<std::string, 4>{"Other", "Kept", "Folders: 0", "Bookmarks: 1"}));
}

} // namespace
} // namespace velloria
