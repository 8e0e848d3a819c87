// Adding and editing folders and links: cleaning, unique names, and the files each change writes.

#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowFixture.h"
#include "store/FolderNames.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class EditingTest : public test::MainWindowFixture {
protected:
    EditingTest()
    {
        open({"000 1.0", "037 True", "040 0"});
        model.tree().trvFoldersEnter();
    }
    // What the New Item dialog of the command added into the folder.
    std::string add(Command command, std::size_t folder, const std::string& title,
                    const std::string& address = "x.example", const std::string& description = "")
    {
        model.tree().selectFolder(folder);
        model.execute(command);
        NewItemDialog dialog(model);
        dialog.accept(title, command == Command::EditAddUrl ? address : "", description, Confirmation::OkButton);
        return dialog.added();
    }
};

TEST_F(EditingTest, NewLinkIsCleanedMadeUniqueDatedAndSelected)
{
    EXPECT_EQ(add(Command::EditAddUrl, 4, " a/b:c? ", "  https://abc.example/  ", " first line\nsecond "), "abc");
    EXPECT_EQ(titles(), (test::Lines{"abc", "Alpha", "mid", "zeta"}));
    EXPECT_EQ(model.selection().selectedRows(), std::vector<std::size_t>{0});
    EXPECT_EQ(model.description().text(), "Description: first line second");
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_THAT(home.read("Links/B.wnl"),
                HasSubstr(test::crlf({"0 abc", "1 https://abc.example/", "2  ", "3 2026.12.5", "4 first line second"})));

    EXPECT_EQ(add(Command::EditAddUrl, 4, "ALPHA"), "ALPHA_1"); // unique within the folder, case folded
    EXPECT_EQ(add(Command::EditAddUrl, 4, "alpha_1"), "alpha_1_1");
}

TEST_F(EditingTest, RefusedInputAddsNothingButTheOkButtonStillCloses)
{
    const struct {
        const char* title;
        const char* address;
        Confirmation confirmation;
        bool closes;
    } cases[] = {
        {"Title", "   ", Confirmation::EnterKey, false},
        {"Title", "   ", Confirmation::OkButton, true},
        {"?*/", "x", Confirmation::EnterKey, false},
    };
    model.tree().selectFolder(4);
    const auto before = home.snapshot();
    for (const auto& c : cases) {
        model.execute(Command::EditAddUrl);
        EXPECT_EQ(NewItemDialog(model).accept(c.title, c.address, "", c.confirmation), c.closes) << c.title;
    }
    EXPECT_EQ(home.snapshot(), before);
    EXPECT_FALSE(model.lifecycle().libraryModified());
}

TEST_F(EditingTest, FolderNamesAreUniqueOverTheWholeTreeWithoutRegardToCase)
{
    EXPECT_EQ(add(Command::EditAddFolder, 0, "a1"), "a1_1"); // A1 lives in another branch
    EXPECT_EQ(add(Command::EditAddFolder, 0, "\xC3\xA9mile"), "\xC3\xA9mile");
    EXPECT_EQ(add(Command::EditAddFolder, 0, "\xC3\x89MILE"), "\xC3\x89MILE_1"); // Émile clashes with émile
    // A name at the file-name limit (as the command-line tool passes it on) leaves room for a suffix.
    const std::string room(kMaxFolderNameBytes - 8, 'x');
    EXPECT_EQ(model.editing().addFolder(std::string(kMaxFolderNameBytes, 'x'), ""), room);
    EXPECT_EQ(model.editing().addFolder(std::string(kMaxFolderNameBytes, 'x'), ""), room + "_1");
}

TEST_F(EditingTest, NewFolderGoesIntoTheSelectedFolderOrBesideItWithItsFilesAtOnce)
{
    EXPECT_EQ(add(Command::EditAddFolder, 1, "New", "", "Fresh"), "New");
    EXPECT_EQ(model.tree().selectedFolder(), 4u);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\t\tNew", "\tB", "Other"}));
    EXPECT_THAT(home.read("folddesc.wnf"), HasSubstr(test::crlf({"New", "Fresh"})));
    EXPECT_EQ(home.read("Links/New.wnl"), "");
    EXPECT_THAT(model.lifecycle().newFolders(), ElementsAre("New"));
    EXPECT_EQ(model.description().text(), "Description: Fresh");

    model.tree().selectFolder(1);
    model.execute(Command::EditAddFolder);
    NewItemDialog dialog(model);
    dialog.setAddFolderInFolder(false);
    dialog.accept("Sibling", "", "", Confirmation::OkButton);
    EXPECT_EQ(tree(), (test::Lines{"Top", ".A", "..A1", "..A2", "..New", ".B", ".Sibling", "Other"}));
    EXPECT_FALSE(model.prefs().AddFolderInFolder);
}

TEST_F(EditingTest, InAnEmptyTreeTheDialogAddsOnlyAFolder)
{
    home.write("folders.wnf", "");
    model.lifecycle().loadLibrary(RestoreFolderStates::No);
    NewItemDialog empty(model);
    EXPECT_FALSE(empty.linkChoiceEnabled());
    EXPECT_TRUE(empty.folderChosen());
    empty.accept("First", "", "", Confirmation::OkButton);
    EXPECT_EQ(tree(), (test::Lines{"First"}));
}

TEST_F(EditingTest, RenamingAFolderMovesItsFilesAndWritesTheBackupUnderTheNewName)
{
    model.tree().selectFolder(4);
    const std::string links = home.read("Links/B.wnl");
    model.execute(Command::EditEditItem); // the tree has the focus: the folder
    {
        EditItemDialog dialog(model);
        EXPECT_EQ(dialog.description(), "Bee");
        EXPECT_TRUE(dialog.accept("Bravo", "", "Renamed"));
    }
    EXPECT_FALSE(home.exists("Links/B.wnl"));
    EXPECT_EQ(home.read("Links/Bravo.wnl"), links);
    EXPECT_EQ(home.read("Links/Bravo.~wnl"), links);
    EXPECT_EQ(home.read("folders.wnf"), test::crlf({"Top", "\tA", "\t\tA1", "\t\tA2", "\tBravo", "Other"}));
    EXPECT_THAT(home.read("folddesc.wnf"), HasSubstr(test::crlf({"Bravo", "Renamed"})));
    EXPECT_EQ(model.statusBar().text(0), "Bravo");
    EXPECT_EQ(model.description().text(), "Description: Renamed");

    model.execute(Command::EditEditItem);
    EditItemDialog(model).accept("bravo", "", "Renamed"); // only the letter case: a suffix
    EXPECT_EQ(model.library().folderTree()[4].Name, "bravo_1");
}

TEST_F(EditingTest, EditingALinkKeepsItsDatesAndTheAddressAsTyped)
{
    model.tree().selectFolder(4);
    model.list().selectRows({2}, 2); // zeta
    model.list().lvReferencesEnter();
    model.execute(Command::EditEditItem);
    EditItemDialog dialog(model);
    EXPECT_EQ(dialog.address(), "https://z.example/");
    EXPECT_FALSE(dialog.accept(" :: ", "x", "y")); // refused: stays open
    EXPECT_TRUE(dialog.accept("Aardvark", " spaced.example ", "new note"));
    EXPECT_EQ(titles(), (test::Lines{"Aardvark", "Alpha", "mid"}));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Aardvark");
    EXPECT_THAT(home.read("Links/B.wnl"), HasSubstr(test::crlf({"0 Aardvark", "1  spaced.example ", "2 ",
                                                                "3 2026.1.3", "4 new note"})));
}

// Windows-1252 bytes from an older program come back from the dialog as UTF-8; fields left alone keep their bytes.
TEST_F(EditingTest, EditingKeepsTheStoredBytesOfEveryFieldLeftAsItWas)
{
    const std::string cafe = "Caf\xE9"; // Windows-1252
    const std::string links = test::crlf({"0 Ren\xE9", "1 x.example/\xE9", "2 ", "3 2020.1.1", "4 old \xE9"});
    struct Case {
        const char* name;
        bool folder;
        // As the dialog gives them (UTF-8); after OK: the folder's name, its link file, the pair added to folddesc.wnf.
        std::string title, address, description, folderAfter, linksAfter, descriptionAdded;
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
        test::writeLibrary(fresh, {.tree = {cafe}, .descriptions = {cafe, "old \xE9"},
                                   .links = {{cafe, {{"Ren\xE9", "x.example/\xE9", "", "2020.1.1", "old \xE9"}}}}});
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
