// The filter above the link list: the rows it shows for a text, kept current through every kind
// of change of the library, and the commands on its rows writing each link's own folder file.

#include "interchange/Import.h"
#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowFixture.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using C = Command;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The sample library with links in A1 and Top too; B is shown, the list has the focus.
class LinkFilteringTest : public test::MainWindowFixture {
protected:
    LinkFilteringTest()
    {
        test::SmallLibrary files = test::sampleLibrary();
        files.links["Top"] = {{"Top news", "https://news.example/"}};
        files.links["A1"] = {{"Caf\xC3\xA9 list", "https://cafe.example/", "", "2026.1.5", "where to eat"},
                             {"Other news", "https://other.example/"}};
        test::writeLibrary(home, files);
        open({"000 1.0", "003 False", "040 0"}); // no question before deleting; sorted by title
        show(4);
        model.list().lvReferencesEnter();
    }
    // "folder path: title" of each row the filter shows.
    test::Lines rows() const
    {
        test::Lines lines;
        for (std::size_t row = 0; row < model.filter().rowCount(); ++row)
            lines.push_back(model.filter().folderPath(row) + ": " + std::string(model.filter().link(row).link.Title));
        return lines;
    }
    void select(std::vector<std::size_t> rows) { model.filter().selectRows(rows, rows.front()); }
};

TEST_F(LinkFilteringTest, ShowsTheMatchesOfTheWholeLibraryUntilTheTextHasNoWord)
{
    model.filter().setText("NEWS");
    EXPECT_TRUE(model.filter().active());
    EXPECT_THAT(rows(), ElementsAre("Top / A / A1: Other news", "Top: Top news")); // by title
    EXPECT_EQ(panels()[3], "Matches: 2");
    EXPECT_EQ(model.tree().selectedFolder(), 4u); // the tree stays as it was
    EXPECT_THAT(titles(), ElementsAre("Alpha", "mid", "zeta"));
    model.tree().trvFoldersEnter();
    model.list().lvReferencesEnter(); // entering the rows selects the first, as in a folder's list
    EXPECT_EQ(model.filter().selectedRows(), std::vector<std::size_t>{0});
    model.filter().setText("cafe eat"); // accents and the description
    EXPECT_THAT(rows(), ElementsAre("Top / A / A1: Caf\xC3\xA9 list"));
    model.filter().setText("nowhere");
    recorder.notices.clear();
    model.list().lvReferencesEnter(); // no row to go to
    EXPECT_THAT(recorder.notices, ElementsAre("focus tree"));
    model.filter().setText("  ");
    EXPECT_FALSE(model.filter().active());
    EXPECT_EQ(panels()[3], "Bookmarks: 3");
    EXPECT_EQ(model.description().text(), "Description: Bee"); // what the list shows again: B, no row selected
}

TEST_F(LinkFilteringTest, CommandsFollowTheFilterRowsSelected)
{
    model.filter().setText("news");
    EXPECT_EQ(disabledCommands(), "FileSave EditUndo EditAddUrl EditEditItem EditMoveUp EditMoveDown EditCut "
                                  "EditCopy EditPaste EditDelete ToolsGo ToolsGoInNewBrowser");
    select({1});
    EXPECT_EQ(disabledCommands(), "FileSave EditUndo EditAddUrl EditMoveUp EditMoveDown EditPaste");
    EXPECT_EQ(panels()[1], "Top news");
    EXPECT_EQ(model.description().text(), "Description: ");
    select({0}); // Other news
    model.filter().setText("eat");
    select({0});
    EXPECT_EQ(model.description().text(), "Description: where to eat");
    model.filter().setText("news");
    select({1});
    model.tree().trvFoldersEnter(); // the tree's commands act on its folder as ever
    EXPECT_EQ(disabledCommands(), "FileSave EditUndo EditCut EditCopy EditPaste");
}

TEST_F(LinkFilteringTest, EveryKindOfChangeOfTheLibraryShowsAtOnce)
{
    model.filter().setText("a");
    const struct {
        const char* change;
        std::function<void()> run;
        test::Lines rows;
    } cases[] = {
        {"a link added to the folder shown",
         [&] { model.editing().addLink("Added", "https://added.example/", ""); },
         {"Top / B: Added", "Top / B: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / A / A1: Other news",
          "Top: Top news", "Top / B: zeta"}},
        {"a link of the folder list deleted",
         [&] {
             model.list().selectRows({0}, 0); // Added
             model.deleting().deleteSelectedLinks();
         },
         {"Top / B: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / A / A1: Other news",
          "Top: Top news", "Top / B: zeta"}},
        {"the deletion undone",
         [&] { model.execute(C::EditUndo); },
         {"Top / B: Added", "Top / B: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid",
          "Top / A / A1: Other news", "Top: Top news", "Top / B: zeta"}},
        {"a link of the folder list edited",
         [&] {
             model.list().selectRows({0}, 0);
             model.editing().editLink("Renamed", "https://renamed.example/", "");
         },
         {"Top / B: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / A / A1: Other news",
          "Top / B: Renamed", "Top: Top news", "Top / B: zeta"}},
        {"links pasted into another folder",
         [&] {
             model.list().selectRows({0}, 0); // Alpha
             model.clipboard().EditCopyExecute();
             model.tree().trvFoldersEnter();
             model.tree().selectFolder(5);
             model.execute(C::EditPaste);
         },
         {"Top / B: Alpha", "Other: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / A / A1: Other news",
          "Top / B: Renamed", "Top: Top news", "Top / B: zeta"}},
        {"a folder renamed",
         [&] {
             model.tree().selectFolder(1);
             model.flags().NewItem = NewItemKind::Folder;
             EditItemDialog(model).accept("Aa", "", "");
         },
         {"Top / B: Alpha", "Other: Alpha", "Top / Aa / A1: Caf\xC3\xA9 list", "Top / B: mid",
          "Top / Aa / A1: Other news", "Top / B: Renamed", "Top: Top news", "Top / B: zeta"}},
        {"a folder deleted",
         [&] {
             model.tree().selectFolder(5);
             model.execute(C::EditDelete);
         },
         {"Top / B: Alpha", "Top / Aa / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / Aa / A1: Other news",
          "Top / B: Renamed", "Top: Top news", "Top / B: zeta"}},
        {"a file imported",
         [&] {
             test::writeBytes(home.path() / "in.html", "<DL><p><DT><A HREF=\"https://in.example/\">Imported</A></DL>");
             importSource(model, ImportSource::Netscape, home.path() / "in.html");
         },
         {"Top / B: Alpha", "Top / Aa / A1: Caf\xC3\xA9 list", "Netscape: Imported", "Top / B: mid",
          "Top / Aa / A1: Other news", "Top / B: Renamed", "Top: Top news", "Top / B: zeta"}},
        {"the library reverted to its last save and read again",
         [&] {
             model.lifecycle().revertLibrary();
             model.lifecycle().loadLibrary(RestoreFolderStates::No);
         },
         {"Top / B: Alpha", "Top / A / A1: Caf\xC3\xA9 list", "Top / B: mid", "Top / A / A1: Other news",
          "Top: Top news", "Top / B: zeta"}},
    };
    for (const auto& c : cases) {
        c.run();
        EXPECT_EQ(rows(), c.rows) << c.change;
    }
}

TEST_F(LinkFilteringTest, EditOpenDeleteCutAndCopyActOnTheRowsInTheirOwnFolders)
{
    model.filter().setText("news");
    select({0}); // Other news, in A1
    model.execute(C::EditEditItem);
    {
        EditItemDialog edit(model);
        EXPECT_EQ(edit.title(), "Other news");
        EXPECT_TRUE(edit.accept("Caf\xC3\xA9 LIST", "https://changed.example/", "changed")); // made unique in A1
    }
    EXPECT_THAT(linksOf("A1"), ElementsAre("Caf\xC3\xA9 list https://cafe.example/",
                                           "Caf\xC3\xA9 LIST_1 https://changed.example/"));
    EXPECT_THAT(rows(), ElementsAre("Top: Top news")); // no longer a match
    model.filter().setText("news.example");
    select({0}); // Top news
    model.execute(C::ToolsGo);
    EXPECT_THAT(opener.opened, ElementsAre("https://news.example/"));
    EXPECT_THAT(test::readBytes(home.path() / "RefLib/Links/Top.wnl"), HasSubstr("\r\n2 2026.12.5\r\n"));
    EXPECT_TRUE(preferenceLine("058 Top news"));

    model.filter().setText("example");
    select({0, 2}); // Alpha in B, Café LIST_1 in A1
    {
        DeleteConfirmation question(model);
        EXPECT_THAT(question.lines(), ElementsAre("Top / B: Alpha (Bookmark)", "Top / A / A1: Caf\xC3\xA9 LIST_1 (Bookmark)"));
        question.yes();
    }
    EXPECT_THAT(linksOf("A1"), ElementsAre("Caf\xC3\xA9 list https://cafe.example/"));
    EXPECT_THAT(titles(), ElementsAre("mid", "zeta")); // the folder list heard of it too
    model.execute(C::EditUndo);
    EXPECT_THAT(linksOf("A1"), ElementsAre("Caf\xC3\xA9 list https://cafe.example/",
                                           "Caf\xC3\xA9 LIST_1 https://changed.example/"));

    model.filter().setText("z.example");
    select({0});
    model.execute(C::EditCut);
    EXPECT_THAT(linksOf("B"), ElementsAre("Alpha a.example/path", "mid mailto:mid@example.org"));
    model.filter().setText("");
    model.tree().selectFolder(0);
    model.list().lvReferencesEnter();
    model.execute(C::EditPaste);
    EXPECT_THAT(linksOf("Top"), ElementsAre("Top news https://news.example/", "zeta https://z.example/"));
}

TEST_F(LinkFilteringTest, ALongerTextLooksOnlyAmongTheRowsOfTheShorterAndSortingKeepsTheSelection)
{
    model.filter().setText("e");
    EXPECT_EQ(rows().size(), 6u);
    model.filter().setText("ex");
    EXPECT_EQ(rows().size(), 6u);
    model.filter().setText("exa news");
    EXPECT_THAT(rows(), ElementsAre("Top / A / A1: Other news", "Top: Top news"));
    select({1});
    model.list().lvReferencesColumnClick(0); // the title again: reversed
    EXPECT_THAT(rows(), ElementsAre("Top: Top news", "Top / A / A1: Other news"));
    EXPECT_EQ(model.filter().selectedRows(), std::vector<std::size_t>{0});
    EXPECT_EQ(model.filter().focusedRow(), 0u);
}

// Links dragged onto a folder of the tree, from the folder's list and from the filter's.
TEST_F(LinkFilteringTest, LinksDroppedOntoAFolderMoveOrCopyThereWithUniqueTitles)
{
    const std::string a1 = "Caf\xC3\xA9 list https://cafe.example/";
    model.list().selectRows({0, 1}, 1); // Alpha and mid of B
    EXPECT_FALSE(model.reordering().linksDragOver(4)); // onto their own folder: nothing to do
    EXPECT_EQ(model.reordering().dropLinks(4, false), 0u);
    EXPECT_TRUE(model.reordering().linksDragOver(2));

    EXPECT_EQ(model.reordering().dropLinks(2, true), 2u); // copied, with Ctrl
    EXPECT_THAT(linksOf("B"), ElementsAre("Alpha a.example/path", "mid mailto:mid@example.org", "zeta https://z.example/"));
    EXPECT_THAT(linksOf("A1"), ElementsAre("Alpha a.example/path", a1, "mid mailto:mid@example.org",
                                           "Other news https://other.example/")); // shown, and so sorted
    EXPECT_EQ(model.tree().selectedFolder(), 2u); // A1 shown, the links dropped selected
    EXPECT_THAT(titles(), ElementsAre("Alpha", "Caf\xC3\xA9 list", "mid", "Other news"));
    EXPECT_EQ(model.selection().selectedRows(), (std::vector<std::size_t>{0, 2}));

    model.tree().selectFolder(4);
    model.list().selectRows({0}, 0); // Alpha again: its title is taken in A1 now
    EXPECT_EQ(model.reordering().dropLinks(2, false), 1u);
    EXPECT_THAT(linksOf("B"), ElementsAre("mid mailto:mid@example.org", "zeta https://z.example/"));
    EXPECT_THAT(linksOf("A1"), ::testing::Contains("Alpha_1 a.example/path"));

    model.filter().setText("news"); // from the filter's rows, out of two folders at once
    select({0, 1});
    EXPECT_EQ(model.reordering().dropLinks(4, false), 2u);
    EXPECT_THAT(linksOf("Top"), ElementsAre());
    EXPECT_THAT(linksOf("B"), ElementsAre("mid mailto:mid@example.org", "Other news https://other.example/",
                                          "Top news https://news.example/", "zeta https://z.example/"));
    EXPECT_THAT(rows(), ElementsAre("Top / B: Other news", "Top / B: Top news"));
    EXPECT_EQ(model.filter().selectedRows(), (std::vector<std::size_t>{0, 1}));

    // A target whose file is damaged would lose what was not read: nothing goes there.
    const std::string damaged = test::linkFile({{"Kept", "https://kept.example/"}}) + "x broken\r\n";
    home.write("Links/Other.wnl", damaged);
    EXPECT_EQ(test::errorOf([&] { model.reordering().dropLinks(5, false); }),
              "The link file of \"Other\" is damaged: nothing was moved or copied into it");
    EXPECT_EQ(home.read("Links/Other.wnl"), damaged);
    EXPECT_THAT(linksOf("B"), ::testing::Contains("Top news https://news.example/"));
}

} // namespace
} // namespace velloria
