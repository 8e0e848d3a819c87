// Adding and editing folders and links through the dialogs' logic: cleaning, unique names, and
// the files each change writes.

#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowFixture.h"
#include "store/FolderNames.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Titles = std::vector<std::string>;

class EditingTest : public test::MainWindowFixture {
protected:
    EditingTest()
    {
        writePreferences({"000 1.0", "037 True", "040 0"});
        model.lifecycle().FormCreate();
        model.tree().trvFoldersEnter();
    }
    std::string addLink(const std::string& title, const std::string& address = "x.example",
                        const std::string& description = "")
    {
        model.execute(Command::EditAddUrl);
        NewItemDialog dialog(model);
        dialog.accept(title, address, description, Confirmation::OkButton);
        return dialog.added();
    }
    std::string addFolder(const std::string& name, const std::string& description = "")
    {
        model.execute(Command::EditAddFolder);
        NewItemDialog dialog(model);
        dialog.accept(name, "", description, Confirmation::OkButton);
        return dialog.added();
    }
};

TEST_F(EditingTest, NewLinkIsCleanedMadeUniqueDatedAndSelected)
{
    model.tree().selectFolder(4);
    EXPECT_EQ(addLink(" a/b:c? ", "  https://abc.example/  ", " first line\nsecond "), "abc");
    EXPECT_EQ(titles(), (Titles{"abc", "Alpha", "mid", "zeta"}));
    const TLinkRecord& added = model.library().linkList()[0];
    EXPECT_EQ(added.Address, "https://abc.example/");
    EXPECT_EQ(added.LastVisit, " ");
    EXPECT_EQ(added.AddDate, "2026.12.5");
    EXPECT_EQ(model.library().linkDescriptions()[0], "first line second");
    EXPECT_THAT(model.selection().selectedRows(), ElementsAre(0u));
    EXPECT_EQ(model.description().text(), "Description: first line second");
    EXPECT_EQ(model.statusBar().text(3), "Bookmarks: 4");
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_TRUE(model.commandStates().isEnabled(Command::FileSave));
    EXPECT_THAT(home.read("Links/B.wnl"),
                HasSubstr(test::crlf({"0 abc", "1 https://abc.example/", "2  ", "3 2026.12.5", "4 first line second"})));

    EXPECT_EQ(addLink("ALPHA"), "ALPHA_1");   // unique within the folder, case folded
    EXPECT_EQ(addLink("alpha_1"), "alpha_1_1");
}

TEST_F(EditingTest, RefusedInputAddsNothingButTheOkButtonStillCloses)
{
    model.tree().selectFolder(4);
    model.execute(Command::EditAddUrl);
    NewItemDialog dialog(model);
    const auto before = home.snapshot();
    EXPECT_FALSE(dialog.accept("Title", "   ", "", Confirmation::EnterKey));
    EXPECT_TRUE(dialog.accept("Title", "   ", "", Confirmation::OkButton));
    EXPECT_FALSE(dialog.accept("?*/", "x", "", Confirmation::EnterKey));
    EXPECT_FALSE(dialog.accept("  ", "x", "", Confirmation::EnterKey));
    EXPECT_EQ(home.snapshot(), before);
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_TRUE(dialog.accept("Title", "x", "", Confirmation::EnterKey));
}

TEST_F(EditingTest, FolderNamesAreUniqueOverTheWholeTreeWithoutRegardToCase)
{
    model.tree().selectFolder(0);
    EXPECT_EQ(addFolder("a1"), "a1_1");        // A1 lives in another branch
    model.tree().selectFolder(0);
    EXPECT_EQ(addFolder("A1"), "A1_2");
    model.tree().selectFolder(0);
    EXPECT_EQ(addFolder("\xC3\xA9mile"), "\xC3\xA9mile");
    model.tree().selectFolder(0);
    EXPECT_EQ(addFolder("\xC3\x89MILE"), "\xC3\x89MILE_1"); // Émile clashes with émile
    // A name at the file-name limit, as the command-line tool passes it on, is shortened so
    // that a suffix still fits.
    const std::string room(kMaxFolderNameBytes - 8, 'x');
    EXPECT_EQ(model.editing().addFolder(std::string(kMaxFolderNameBytes, 'x'), ""), room);
    EXPECT_EQ(model.editing().addFolder(std::string(kMaxFolderNameBytes, 'x'), ""), room + "_1");
}

TEST_F(EditingTest, NewFolderGoesIntoTheSelectedFolderWithItsFilesAtOnce)
{
    model.tree().selectFolder(1); // A
    EXPECT_EQ(addFolder("New", "Fresh"), "New");
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".A", "..A1", "..A2", "..New", ".B", "Other"}));
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\t\tNew", "\tB", "Other"}));
    EXPECT_THAT(home.read("folddesc.wnf"), HasSubstr(test::crlf({"New", "Fresh"})));
    EXPECT_EQ(home.read("Links/New.wnl"), "");
    EXPECT_THAT(model.lifecycle().newFolders(), ElementsAre("New"));
    EXPECT_EQ(model.description().text(), "Description: Fresh");
    EXPECT_TRUE(model.lifecycle().libraryModified());
}

TEST_F(EditingTest, WithoutAddFolderInFolderTheNewFolderBecomesASibling)
{
    model.tree().selectFolder(1);
    model.execute(Command::EditAddFolder);
    NewItemDialog dialog(model);
    dialog.setAddFolderInFolder(false);
    dialog.accept("Sibling", "", "", Confirmation::OkButton);
    EXPECT_EQ(tree(), (std::vector<std::string>{"Top", ".A", "..A1", "..A2", ".B", ".Sibling", "Other"}));
    EXPECT_FALSE(model.prefs().AddFolderInFolder);
}

TEST_F(EditingTest, TheDialogFollowsTheKindAndTheTree)
{
    model.execute(Command::EditAddUrl);
    NewItemDialog link(model);
    EXPECT_FALSE(link.folderChosen());
    EXPECT_TRUE(link.addressEnabled());
    EXPECT_FALSE(link.addFolderInFolderEnabled());
    link.chooseFolder();
    EXPECT_FALSE(link.addressEnabled());
    EXPECT_TRUE(link.addFolderInFolderChecked());
    EXPECT_EQ(model.flags().NewItem, NewItemKind::Folder);

    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    NewItemDialog empty(model);
    EXPECT_FALSE(empty.linkChoiceEnabled());
    EXPECT_TRUE(empty.folderChosen());
    empty.accept("First", "", "", Confirmation::OkButton);
    EXPECT_EQ(tree(), (std::vector<std::string>{"First"}));
}

TEST_F(EditingTest, RenamingAFolderMovesItsFilesAndWritesTheBackupUnderTheNewName)
{
    model.tree().selectFolder(4);
    const std::string links = home.read("Links/B.wnl");
    model.execute(Command::EditEditItem); // the tree has the focus: the folder
    EditItemDialog dialog(model);
    EXPECT_TRUE(dialog.editsFolder());
    EXPECT_EQ(dialog.title(), "B");
    EXPECT_EQ(dialog.description(), "Bee");
    EXPECT_TRUE(dialog.accept("Bravo", "", "Renamed"));
    EXPECT_FALSE(home.exists("Links/B.wnl"));
    EXPECT_EQ(home.read("Links/Bravo.wnl"), links);
    EXPECT_EQ(home.read("Links/Bravo.~wnl"), links);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tBravo", "Other"}));
    EXPECT_THAT(home.read("folddesc.wnf"), HasSubstr(test::crlf({"Bravo", "Renamed"})));
    EXPECT_EQ(model.statusBar().text(0), "Bravo");
    EXPECT_EQ(model.description().text(), "Description: Renamed");
}

TEST_F(EditingTest, ChangingOnlyTheLetterCaseOfAFolderGetsASuffix)
{
    model.tree().selectFolder(4);
    model.execute(Command::EditEditItem);
    EditItemDialog dialog(model);
    dialog.accept("b", "", "Bee");
    EXPECT_EQ(model.library().folderTree()[4].Name, "b_1");
}

TEST_F(EditingTest, EditingALinkKeepsItsDatesAndTheAddressAsTyped)
{
    model.tree().selectFolder(4);
    model.list().selectRows({2}, 2); // zeta
    model.list().lvReferencesEnter();
    model.execute(Command::EditEditItem);
    EditItemDialog dialog(model);
    EXPECT_FALSE(dialog.editsFolder());
    EXPECT_EQ(dialog.title(), "zeta");
    EXPECT_EQ(dialog.address(), "https://z.example/");
    EXPECT_FALSE(dialog.accept(" :: ", "x", "y")); // refused: stays open
    EXPECT_TRUE(dialog.accept("Aardvark", " spaced.example ", "new note"));
    EXPECT_EQ(titles(), (Titles{"Aardvark", "Alpha", "mid"}));
    const TLinkRecord& link = model.library().linkList()[0];
    EXPECT_EQ(link.Address, " spaced.example ");
    EXPECT_EQ(link.AddDate, "2026.1.3");
    EXPECT_EQ(model.library().linkDescriptions()[0], "new note");
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Aardvark");
    EXPECT_THAT(home.read("Links/B.wnl"), HasSubstr(test::crlf({"0 Aardvark", "1  spaced.example ", "2 ",
                                                                "3 2026.1.3", "4 new note"})));
}

// A library written by an older program: a folder and a link in Windows-1252 bytes. The dialog
// shows them as text and gives back UTF-8; what the user did not change keeps its bytes.
TEST_F(EditingTest, EditingKeepsTheStoredBytesOfEveryFieldLeftAsItWas)
{
    const std::string cafe = "Caf\xE9"; // Windows-1252
    const std::string links = test::crlf({"0 Ren\xE9", "1 x.example/\xE9", "2 ", "3 2020.1.1", "4 old \xE9"});
    struct Case {
        const char* name;
        bool folder;
        std::string title, address, description; // as the dialog gives them: UTF-8
        std::string folderAfter;                 // the folder's name in folders.wnf after OK
        std::string linksAfter;                  // its working link file after OK
        std::string descriptionAdded;            // the pair appended to folddesc.wnf
    };
    const Case cases[] = {
        {"folder: description changed", true, "Caf\xC3\xA9", "", "new", cafe, links, test::crlf({cafe, "new"})},
        {"folder: renamed", true, "Tea", "", "old \xC3\xA9", "Tea", links, test::crlf({"Tea", "old \xE9"})},
        {"link: description changed", false, "Ren\xC3\xA9", "x.example/\xC3\xA9", "new", cafe,
         test::crlf({"0 Ren\xE9", "1 x.example/\xE9", "2 ", "3 2020.1.1", "4 new"}), ""},
        {"link: title and address changed", false, "Ren\xC3\xA9" "e", "y.example", "old \xC3\xA9", cafe,
         test::crlf({"0 Ren\xC3\xA9" "e", "1 y.example", "2 ", "3 2020.1.1", "4 old \xE9"}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempHome fresh;
        fresh.write("folders.wnf", test::crlf({cafe}));
        fresh.write("folders.~wnf", test::crlf({cafe}));
        fresh.write("folddesc.wnf", test::crlf({cafe, "old \xE9"}));
        fresh.write("Links/" + cafe + ".wnl", links);
        fresh.write("Links/" + cafe + ".~wnl", links);
        MainWindowModel edited{fresh.path(), clock, opener, "/home/user"};
        edited.lifecycle().loadLibrary(RestoreFolderStates::No);
        edited.tree().selectFolder(0);
        c.folder ? edited.tree().trvFoldersEnter() : edited.list().lvReferencesEnter();
        edited.execute(Command::EditEditItem);
        EditItemDialog dialog(edited);
        ASSERT_EQ(dialog.editsFolder(), c.folder);
        EXPECT_TRUE(dialog.accept(c.title, c.address, c.description));
        EXPECT_EQ(fresh.read("folders.wnf"), test::crlf({c.folderAfter}));
        EXPECT_EQ(fresh.read("Links/" + c.folderAfter + ".wnl"), c.linksAfter);
        EXPECT_EQ(fresh.read("folddesc.wnf"), test::crlf({cafe, "old \xE9"}) + c.descriptionAdded);
    }
}

} // namespace
} // namespace velloria
