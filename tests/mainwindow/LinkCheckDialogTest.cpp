// Check Links: which folders are checked, the results as the list shows them, and what Update
// Address and Delete write.

#include "mainwindow/LinkCheckDialog.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/WebServer.h"

#include <gmock/gmock.h>

#include <thread>

namespace velloria {
namespace {

using Column = LinkCheckDialog::Column;
using ::testing::ElementsAre;

// The sample library with links to the server: the list shows B.
class LinkCheckDialogTest : public test::MainWindowFixture {
protected:
    LinkCheckDialogTest()
    {
        test::SmallLibrary files = test::sampleLibrary();
        files.links["Top"] = {{"top", server.address("/ok")}};
        files.links["A1"] = {{"moved", server.address("/moved"), "", "2026.1.1", "a1's"}, {"mail", "mailto:x@example.com"}};
        files.links["A2"] = {{"gone", server.address("/gone")}};
        files.links["B"] = {{"missing", server.address("/missing")}, {"chain", server.address("/chain")},
                            {"flaky", server.address("/flaky")}};
        files.links["Other"] = {{"down", server.address("/down")}};
        test::writeLibrary(home, files);
        open({"000 1.0", "003 False", "040 4"});
        show(4);
    }
    // Runs the check to its end, as the window's timer does.
    void run(LinkCheckDialog& dialog)
    {
        dialog.start({});
        while (!dialog.collect())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    test::Lines shownColumn(const LinkCheckDialog& dialog, Column column = Column::Title) const
    {
        test::Lines texts;
        for (const std::size_t i : dialog.shown())
            texts.push_back(dialog.text(i, column));
        return texts;
    }
    std::size_t indexOf(const LinkCheckDialog& dialog, const std::string& title) const
    {
        for (std::size_t i = 0; i < dialog.linkCount(); ++i)
            if (dialog.link(i).link.Title == title)
                return i;
        return dialog.linkCount();
    }

    test::WebServer server;
};

TEST_F(LinkCheckDialogTest, TheFolderAloneWithItsSubfoldersOrTheWholeLibrary)
{
    model.tree().selectFolder(0);
    const struct {
        bool whole, subfolders;
        test::Lines titles;
    } cases[] = {
        {false, false, {"top"}},
        {false, true, {"top", "moved", "mail", "gone", "missing", "chain", "flaky"}},
        {true, false, {"top", "moved", "mail", "gone", "missing", "chain", "flaky", "down"}},
    };
    for (const auto& c : cases) {
        LinkCheckDialog dialog(model);
        dialog.setWholeLibrary(c.whole);
        dialog.setSubfolders(c.subfolders);
        run(dialog);
        test::Lines titles;
        for (std::size_t i = 0; i < dialog.linkCount(); ++i)
            titles.push_back(std::string(dialog.link(i).link.Title));
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(dialog.total(), c.titles.size() - (c.titles.size() > 1 ? 1 : 0)); // mail is not asked for
    }
    const LinkCheckDialog again(model); // the last choice holds for the next opening
    EXPECT_TRUE(again.wholeLibrary());
    EXPECT_FALSE(again.subfolders());
}

TEST_F(LinkCheckDialogTest, ResultsShowBrokenAndMovedFirstAndSortAndFilterByColumn)
{
    model.flags().CheckWholeLibrary = true;
    LinkCheckDialog dialog(model);
    run(dialog);
    EXPECT_EQ(dialog.progressLine(), "Addresses checked: 7 of 7");
    EXPECT_EQ(shownColumn(dialog), (test::Lines{"gone", "missing", "moved", "chain", "down", "top", "flaky", "mail"}));
    EXPECT_EQ(shownColumn(dialog, Column::Details),
              (test::Lines{"HTTP 410", "HTTP 404", "HTTP 200", "HTTP 200", "HTTP 500, also on the second try", "HTTP 200",
                           "HTTP 200, also on the second try", "Not a web address"}));
    EXPECT_EQ(dialog.text(indexOf(dialog, "chain"), Column::FinalAddress), server.address("/ok"));
    EXPECT_EQ(dialog.text(indexOf(dialog, "gone"), Column::Folder), "Top / A / A2");
    EXPECT_EQ(dialog.summary(), "Checked: 7. Broken: 2. Moved: 2. Errors: 1. OK: 2. Not checked: 1.");
    dialog.setFilter(CheckResult::Moved);
    EXPECT_EQ(shownColumn(dialog, Column::Result), (test::Lines{"Moved", "Moved"}));
    dialog.setFilter(std::nullopt);
    dialog.sortBy(Column::Title, false);
    EXPECT_EQ(shownColumn(dialog), (test::Lines{"top", "moved", "missing", "mail", "gone", "flaky", "down", "chain"}));
    dialog.sortBy(Column::Result, false);
    EXPECT_EQ(shownColumn(dialog).front(), "mail");
}

TEST_F(LinkCheckDialogTest, UpdateAddressWritesTheFinalAddressIntoEachFolderAtOnce)
{
    model.flags().CheckWholeLibrary = true;
    LinkCheckDialog dialog(model);
    run(dialog);
    const std::vector<std::size_t> chosen = {indexOf(dialog, "moved"), indexOf(dialog, "chain"), indexOf(dialog, "top")};
    EXPECT_TRUE(dialog.canUpdate(chosen));
    EXPECT_FALSE(dialog.canUpdate({indexOf(dialog, "top")}));
    EXPECT_EQ(dialog.updateAddresses(chosen), 2u);
    EXPECT_EQ(home.read("Links/A1.wnl"),
              test::linkFile({{"moved", server.address("/ok"), "", "2026.1.1", "a1's"}, {"mail", "mailto:x@example.com"}}));
    EXPECT_EQ(home.read("Links/B.wnl"), test::linkFile({{"missing", server.address("/missing")},
                                                        {"chain", server.address("/ok")},
                                                        {"flaky", server.address("/flaky")}}));
    EXPECT_EQ(model.library().linkList()[1].Address, server.address("/ok"));
    EXPECT_EQ(dialog.text(indexOf(dialog, "chain"), Column::Result), "OK");
    EXPECT_EQ(dialog.text(indexOf(dialog, "chain"), Column::Address), server.address("/ok"));
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_EQ(home.read("Links/A1.~wnl"), test::linkFile({{"moved", server.address("/moved"), "", "2026.1.1", "a1's"},
                                                          {"mail", "mailto:x@example.com"}})); // nothing saved
    // A later deletion finds the link by its new address.
    EXPECT_EQ(dialog.deleteLinks({indexOf(dialog, "moved")}), 1u);
    EXPECT_EQ(home.read("Links/A1.wnl"), test::linkFile({{"mail", "mailto:x@example.com"}}));
}

TEST_F(LinkCheckDialogTest, UpdateAddressLeavesAFileDamagedSinceTheCheckAsItIs)
{
    model.flags().CheckWholeLibrary = true;
    LinkCheckDialog dialog(model);
    run(dialog);
    const std::string damaged = test::linkFile({{"moved", server.address("/moved"), "", "2026.1.1", "a1's"}}) + "x damaged\r\n";
    test::writeBytes(home.path() / "RefLib/Links/A1.wnl", damaged);
    EXPECT_EQ(dialog.updateAddresses({indexOf(dialog, "moved"), indexOf(dialog, "chain")}), 1u);
    EXPECT_EQ(home.read("Links/A1.wnl"), damaged);
    EXPECT_EQ(dialog.text(indexOf(dialog, "moved"), Column::Result), "Moved"); // read again: still to do
    EXPECT_FALSE(dialog.canUpdate({indexOf(dialog, "moved")})); // but not in a damaged file
    EXPECT_EQ(dialog.text(indexOf(dialog, "chain"), Column::Address), server.address("/ok"));
    EXPECT_EQ(dialog.text(indexOf(dialog, "chain"), Column::Result), "OK");
}

TEST_F(LinkCheckDialogTest, DeleteAsksWithTheFolderPathsAndIsUndoneInOneStep)
{
    model.flags().CheckWholeLibrary = true;
    LinkCheckDialog dialog(model);
    run(dialog);
    const std::string a2 = home.read("Links/A2.wnl");
    const std::string b = home.read("Links/B.wnl");
    const std::vector<std::size_t> broken = {indexOf(dialog, "gone"), indexOf(dialog, "missing")};
    EXPECT_EQ(dialog.deletionLines(broken), (test::Lines{"Top / A / A2: gone (Bookmark)", "Top / B: missing (Bookmark)"}));
    EXPECT_EQ(dialog.deleteLinks(broken), 2u);
    EXPECT_EQ(home.read("Links/A2.wnl"), "");
    EXPECT_EQ(titles(), (test::Lines{"chain", "flaky"}));
    EXPECT_EQ(shownColumn(dialog), (test::Lines{"moved", "chain", "down", "top", "flaky", "mail"}));
    EXPECT_EQ(dialog.link(indexOf(dialog, "flaky")).row, 1u);
    model.execute(Command::EditUndo);
    EXPECT_EQ(home.read("Links/A2.wnl"), a2);
    EXPECT_EQ(home.read("Links/B.wnl"), b);
}

TEST_F(LinkCheckDialogTest, CancelLeavesTheLinksNotDoneNotChecked)
{
    test::writeBytes(home.path() / "RefLib/Links/Other.wnl",
                     test::linkFile(std::vector<test::Link>(8, {"s", server.address("/slow")})));
    LinkCheckDialog dialog(model);
    dialog.setWholeLibrary(false);
    dialog.setFolder(5);
    dialog.start({});
    EXPECT_EQ(dialog.total(), 1u); // one address
    while (dialog.inHand().empty())
        std::this_thread::yield();
    dialog.cancel();
    while (!dialog.collect())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(dialog.text(0, Column::Details), "Cancelled before it was checked");
    EXPECT_EQ(dialog.summary(), "Checked: 0. Broken: 0. Moved: 0. Errors: 0. OK: 0. Not checked: 8.");
}

} // namespace
} // namespace velloria
