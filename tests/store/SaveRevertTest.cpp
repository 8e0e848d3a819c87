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
        library.linkList().clear();
        library.LoadLinkFile(folder);
        library.linkList().push_back({title, "https://" + title + ".example/", " ", "2026.12.5"});
        library.linkDescriptions().push_back(title + " note");
        library.SaveLinkFile(folder, ".wnl");
    }

    std::vector<std::string> newFolders;
};

TEST_F(SaveRevertTest, SaveMakesTheSavedGenerationEqualToTheWorkingOne)
{
    addFolder("Work");
    addLink("Work", "alpha");
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "Work"}));
    for (const std::string file : {"folddesc.wnf", "Links/Work.wnl", "Links/Main.wnl"})
        EXPECT_EQ(home.read(std::string(file).insert(file.find('.') + 1, "~")), home.read(file)) << file;
    const auto afterFirst = home.snapshot();
    library.SaveLibrary();
    EXPECT_EQ(home.snapshot(), afterFirst);
}

TEST_F(SaveRevertTest, SaveWritesTheTreeFromMemoryAndCopiesLinkFilesWithCrLf)
{
    home.write("folders.wnf", crlf({"Main", "Ghost"}));
    home.write("Links/Main.wnl", "0 T\n1 A\n2 \n3 D\n4 d");
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main"}));
    EXPECT_EQ(home.read("Links/Main.~wnl"), crlf({"0 T", "1 A", "2 ", "3 D", "4 d"}));
}

TEST_F(SaveRevertTest, SavePurgesBackupsOfDeletedAndRenamedFolders)
{
    addFolder("Old");
    addFolder("Doomed");
    library.SaveLibrary();
    ASSERT_TRUE(home.exists("Links/Old.~wnl"));
    library.folderTree().rename(library.folderTree().findExact("Old"), "New");
    fs::rename(home.links() / "Old.wnl", home.links() / "New.wnl");
    library.folderTree().removeSubtree(library.folderTree().findExact("Doomed"));
    library.SaveLibrary();
    EXPECT_FALSE(home.exists("Links/Old.~wnl"));
    EXPECT_FALSE(home.exists("Links/Doomed.~wnl"));
    EXPECT_TRUE(home.exists("Links/New.~wnl"));
}

TEST_F(SaveRevertTest, FolderWithoutLinkFileGetsAnEmptyOneAndNoBackup)
{
    addFolder("Bare");
    addLink("Bare", "stale");
    library.SaveLibrary();
    ASSERT_TRUE(home.exists("Links/Bare.~wnl"));
    fs::remove(home.links() / "Bare.wnl");
    library.SaveLibrary();
    EXPECT_EQ(home.read("Links/Bare.wnl"), "\r\n");
    EXPECT_FALSE(home.exists("Links/Bare.~wnl")); // it would bring the deleted links back at the next revert
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
    addFolder("Kept");
    addLink("Kept", "one");
    addLink("Kept", "two");
    library.SaveLibrary();
    const auto saved = home.snapshot();
    addFolder("Later");
    addLink("Later", "lost");
    addLink("Kept", "three");
    library.AddFolderDescription("Kept", "changed");
    library.RevertLibrary(newFolders);

    EXPECT_EQ(home.read("folders.wnf"), crlf({"Main", "Kept"}));
    EXPECT_EQ(home.read("folddesc.wnf"), saved.at("folddesc.wnf"));
    EXPECT_EQ(home.read("Links/Kept.wnl"), saved.at("Links/Kept.wnl"));
    EXPECT_FALSE(home.exists("Links/Later.wnl"));
    Library next(home.path(), clock);
    next.OpenLibrary(RestoreFolderStates::Yes);
    next.LoadLinkFile("Kept");
    EXPECT_EQ(next.linkList().size(), 2u);
}

TEST_F(SaveRevertTest, RevertOfTheDefaultLibraryBringsInItsBackupTextsAndAppliesTheFolderStates)
{
    addFolder("A");
    home.write("foldst.wnf", crlf({"1", "False", "True"}));
    library.RevertLibrary({});
    const std::string address(kHomePageAddress);
    EXPECT_EQ(home.read("Links/Main.wnl"), test::linkFile({{"Orvanti", address, "", "2026.12.5", "Orvanti Website"},
                                                           {"Orvanti", address, "", "2026.12.5", "Home Page"}}));
    EXPECT_EQ(library.folderTree().selectedIndex(), 1u);
}

TEST_F(SaveRevertTest, RevertTreatsAMissingLinkBackupAsNoLinksAndAnUnreadableOneAsAnError)
{
    addFolder("A");
    addFolder("B");
    addLink("A", "a");
    addLink("B", "b");
    library.SaveLibrary();
    addLink("A", "a2");
    addLink("B", "b2");
    const std::string savedB = home.read("Links/B.~wnl");
    fs::remove(home.links() / "A.~wnl");
    library.RevertLibrary({});
    EXPECT_EQ(home.read("Links/A.wnl"), "");
    EXPECT_EQ(home.read("Links/B.wnl"), savedB);

    fs::create_directory(home.links() / "A.~wnl");
    EXPECT_EQ(errorOf([&] { library.RevertLibrary({}); }),
              "Cannot open file \"" + (home.links() / "A.~wnl").string() + "\". Is a directory");
}

TEST_F(SaveRevertTest, FailedSaveReportsTheFileErrorAndLeavesTheLastSaveWhole)
{
    addFolder("A");
    addLink("A", "a");
    library.SaveLibrary();
    addFolder("B");
    addLink("B", "b");
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
    EXPECT_EQ(home.read("Links/B.~wnl"), home.read("Links/B.wnl"));
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
