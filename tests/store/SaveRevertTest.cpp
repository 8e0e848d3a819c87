// Saving the working files into the "~" generation and reverting them from it.

#include "support/Fixtures.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::errorOf;
using ::testing::HasSubstr;

class SaveRevertTest : public test::HomeTest {
protected:
    SaveRevertTest() { library.OpenLibrary(RestoreFolderStates::Yes); } // the default library, just created

    // A new folder as the program adds one: tree file, description, empty link file.
    void addFolder(const std::string& name)
    {
        library.folderTree().appendChild(TFolderTree::npos, name);
        newFolders.push_back(name);
        library.SaveFolderTree("folders.wnf");
        library.AddFolderDescription(name, name + " description");
        library.linkList().clear();
        library.linkDescriptions().clear();
        library.SaveLinkFile(name, ".wnl");
    }
    void addLink(const std::string& folder, const std::string& title)
    {
        library.LoadLinkFile(folder);
        library.linkList().push_back({title, "https://" + title + ".example/", " ", "2026.12.5"});
        library.linkDescriptions().push_back(title + " note");
        library.SaveLinkFile(folder, ".wnl");
    }

    std::vector<std::string> newFolders;
};

TEST_F(SaveRevertTest, SaveMakesTheSavedGenerationEqualToTheWorkingOneWithTheTreeFromMemory)
{
    addFolder("Work");
    addLink("Work", "alpha");
    home.write("folders.wnf", crlf({"Main", "Work", "Ghost"}));
    home.write("Links/Main.wnl", "0 T\n1 A\n2 \n3 D\n4 d"); // line ends become CR LF
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "Work"}));
    EXPECT_EQ(home.read("Links/Main.~wnl"), crlf({"0 T", "1 A", "2 ", "3 D", "4 d"}));
    for (const std::string file : {"folddesc.wnf", "Links/Work.wnl"})
        EXPECT_EQ(home.read(std::string(file).insert(file.find('.') + 1, "~")), home.read(file)) << file;
    const auto afterFirst = home.snapshot();
    library.SaveLibrary();
    EXPECT_EQ(home.snapshot(), afterFirst);
}

TEST_F(SaveRevertTest, SaveDropsTheBackupsOfFoldersGoneRenamedOrWithoutLinkFile)
{
    for (const std::string name : {"Old", "Doomed", "Bare"}) {
        addFolder(name);
        addLink(name, "stale");
    }
    library.SaveLibrary();
    ASSERT_EQ(home.read("Links/Bare.~wnl"), home.read("Links/Bare.wnl"));
    library.folderTree().rename(library.folderTree().findExact("Old"), "New");
    fs::rename(home.links() / "Old.wnl", home.links() / "New.wnl");
    library.folderTree().removeSubtree(library.folderTree().findExact("Doomed"));
    fs::remove(home.links() / "Bare.wnl");
    library.SaveLibrary();
    // Bare gets an empty link file and no backup, which would bring its links back at a revert.
    EXPECT_EQ(home.read("Links/Bare.wnl"), "\r\n");
    for (const char* gone : {"Old.~wnl", "Doomed.~wnl", "Bare.~wnl"})
        EXPECT_FALSE(home.exists(std::string("Links/") + gone)) << gone;
    EXPECT_TRUE(home.exists("Links/New.~wnl"));
}

TEST_F(SaveRevertTest, WithoutSavedTreeSaveStillSavesAndRevertKeepsTheWorkingTree)
{
    fs::remove(home.refLib() / "folders.~wnf");
    addFolder("A");
    library.RevertLibrary({});
    EXPECT_EQ(home.read("folders.wnf"), crlf({"Main", "A"}));
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "A"}));
    EXPECT_TRUE(home.exists("Links/A.~wnl"));
}

TEST_F(SaveRevertTest, RevertBringsBackTheLastSaveAndDropsFoldersCreatedSince)
{
    for (const std::string name : {"Kept", "Unbacked"}) {
        addFolder(name);
        addLink(name, "one");
    }
    library.SaveLibrary();
    auto saved = home.snapshot();
    addFolder("Later");
    addLink("Later", "lost");
    addLink("Kept", "two");
    addLink("Unbacked", "two");
    library.AddFolderDescription("Kept", "changed");
    // A folder whose backup is missing had no links at the save.
    fs::remove(home.links() / "Unbacked.~wnl");
    saved.erase("Links/Unbacked.~wnl");
    saved["Links/Unbacked.wnl"] = "";
    library.RevertLibrary(newFolders);
    EXPECT_EQ(home.snapshot(), saved);
    // An unreadable backup stops the revert with its error.
    fs::create_directory(home.links() / "Unbacked.~wnl");
    EXPECT_EQ(errorOf([&] { library.RevertLibrary({}); }),
              "Cannot open file \"" + (home.links() / "Unbacked.~wnl").string() + "\". Is a directory");
}

TEST_F(SaveRevertTest, TheDefaultLibraryStartsInBothGenerationsAndRevertBringsInItsBackupTextsAndFolderStates)
{
    const std::string address(kHomePageAddress);
    const std::string backup = test::linkFile({{"Orvanti", address, "", "2026.12.5", "Orvanti Website"},
                                               {"Orvanti", address, "", "2026.12.5", "Home Page"}});
    auto files = home.snapshot();
    files.erase("foldst.wnf");
    EXPECT_EQ(files, (std::map<std::string, std::string>{
                         {"folders.wnf", crlf({"Main"})}, {"folders.~wnf", crlf({"Main"})},
                         {"folddesc.wnf", crlf({"Main", "Main folder"})}, {"folddesc.~wnf", crlf({"Main", "Main folder"})},
                         {"Links/Main.wnl", test::linkFile({{"Orvanti", address, "", "2026.12.5", "Orvanti"},
                                                            {"Velloria", address, "", "2026.12.5", "Home Page"}})},
                         {"Links/Main.~wnl", backup}}));
    addFolder("A");
    home.write("foldst.wnf", crlf({"1", "False", "True"}));
    library.RevertLibrary({});
    EXPECT_EQ(home.read("Links/Main.wnl"), backup);
    EXPECT_EQ(library.folderTree().selectedIndex(), 1u);
}

TEST_F(SaveRevertTest, FailedSaveReportsTheFileErrorAndLeavesTheLastSaveWhole)
{
    addFolder("A");
    addLink("A", "a");
    library.SaveLibrary();
    addFolder("B");
    addLink("A", "a2");
    const auto before = home.snapshot();
    fs::create_directory(home.links() / "B.~wnl"); // a directory where the backup of B should go
    EXPECT_THAT(errorOf([&] { library.SaveLibrary(); }),
                HasSubstr("\"" + (home.links() / "B.~wnl").string() + "\". Is a directory"));
    fs::remove(home.links() / "B.~wnl");
    EXPECT_EQ(home.snapshot(), before); // no backup written, no marker, no temporary file
}

TEST_F(SaveRevertTest, ASaveCutShortIsCompletedAtTheNextStartButNeverFromABrokenTree)
{
    addFolder("A");
    addLink("A", "moved");
    library.SaveLibrary();
    EXPECT_FALSE(home.exists("save-in-progress"));
    // A link moved from A to B, and a save killed after it had written A's backup only.
    addFolder("B");
    addLink("B", "moved");
    library.linkList().clear();
    library.linkDescriptions().clear();
    library.SaveLinkFile("A", ".wnl");
    home.write("Links/A.~wnl", home.read("Links/A.wnl"));
    home.write("save-in-progress", "");
    Library restarted{home.path(), clock};
    restarted.OpenLibrary(RestoreFolderStates::No);
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "A", "B"}));
    EXPECT_THAT(home.read("Links/B.~wnl"), HasSubstr("0 moved"));
    EXPECT_FALSE(home.exists("save-in-progress"));

    // A tree that stops with an error names only part of the folders: no save from it.
    home.write("save-in-progress", "");
    home.write("folders.wnf", crlf({"Main", "\t\t\tLost level"}));
    auto before = home.snapshot();
    Library broken{home.path(), clock};
    EXPECT_NE(errorOf([&] { broken.OpenLibrary(RestoreFolderStates::No); }), "<no error>");
    EXPECT_EQ(home.snapshot(), before);
}

} // namespace
} // namespace velloria
