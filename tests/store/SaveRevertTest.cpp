// Saving the working files into the "~" generation and reverting them from it.

#include "base/Clock.h"
#include "base/Error.h"
#include "store/Library.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace velloria {
namespace {

using test::crlf;

constexpr auto npos = TFolderTree::npos;

class SaveRevertTest : public ::testing::Test {
protected:
    SaveRevertTest()
    {
        library.OpenLibrary(RestoreFolderStates::Yes); // the default library, just created
    }

    // A new folder as the program adds one: tree file, description, empty link file.
    void addFolder(const std::string& name, std::size_t parent = npos)
    {
        library.folderTree().appendChild(parent, name);
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

    test::TempHome home;
    FixedClock clock{{2026, 12, 5}};
    Library library{home.path(), clock};
    std::vector<std::string> newFolders;
};

TEST_F(SaveRevertTest, SaveMakesTheSavedGenerationEqualToTheWorkingOne)
{
    addFolder("Work");
    addLink("Work", "alpha");
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "Work"}));
    EXPECT_EQ(home.read("folddesc.~wnf"), home.read("folddesc.wnf"));
    EXPECT_EQ(home.read("Links/Work.~wnl"), home.read("Links/Work.wnl"));
    EXPECT_EQ(home.read("Links/Main.~wnl"), home.read("Links/Main.wnl"));

    const auto afterFirst = home.snapshot();
    library.SaveLibrary();
    EXPECT_EQ(home.snapshot(), afterFirst);
}

TEST_F(SaveRevertTest, SaveCopiesLinkFilesLineByLineWithCrLf)
{
    home.write("Links/Main.wnl", "0 T\n1 A\n2 \n3 D\n4 d");
    library.SaveLibrary();
    EXPECT_EQ(home.read("Links/Main.~wnl"), crlf({"0 T", "1 A", "2 ", "3 D", "4 d"}));
}

TEST_F(SaveRevertTest, SaveWritesTheTreeFromMemoryNotFromTheWorkingFile)
{
    home.write("folders.wnf", crlf({"Main", "Ghost"}));
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main"}));
}

TEST_F(SaveRevertTest, SavePurgesBackupsOfDeletedAndRenamedFolders)
{
    addFolder("Old");
    addFolder("Doomed");
    library.SaveLibrary();
    ASSERT_TRUE(home.exists("Links/Old.~wnl"));

    library.folderTree().rename(library.folderTree().findExact("Old"), "New");
    std::filesystem::rename(home.links() / "Old.wnl", home.links() / "New.wnl");
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
    std::filesystem::remove(home.links() / "Bare.wnl");
    library.SaveLibrary();
    EXPECT_EQ(home.read("Links/Bare.wnl"), "\r\n");
    // The old backup would bring the deleted links back at the next revert.
    EXPECT_FALSE(home.exists("Links/Bare.~wnl"));
}

TEST_F(SaveRevertTest, SaveWithoutSavedTreeFileStillSaves)
{
    std::filesystem::remove(home.refLib() / "folders.~wnf");
    addFolder("Work");
    library.SaveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Main", "Work"}));
    EXPECT_TRUE(home.exists("Links/Work.~wnl"));
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

TEST_F(SaveRevertTest, RevertOfTheDefaultLibraryBringsInItsBackupTexts)
{
    library.RevertLibrary({});
    const std::string address(kHomePageAddress);
    EXPECT_EQ(home.read("Links/Main.wnl"),
              crlf({"0 Orvanti", "1 " + address, "2 ", "3 2026.12.5", "4 Orvanti Website", "0 Orvanti",
                    "1 " + address, "2 ", "3 2026.12.5", "4 Home Page"}));
}

TEST_F(SaveRevertTest, RevertTreatsAMissingLinkBackupAsNoLinksAndGoesOn)
{
    addFolder("A");
    addFolder("B");
    addLink("A", "a");
    addLink("B", "b");
    library.SaveLibrary();
    addLink("A", "a2");
    addLink("B", "b2");
    const std::string savedB = home.read("Links/B.~wnl");
    std::filesystem::remove(home.links() / "A.~wnl");
    library.RevertLibrary({});
    EXPECT_EQ(home.read("Links/A.wnl"), "");
    EXPECT_EQ(home.read("Links/B.wnl"), savedB);
}

TEST_F(SaveRevertTest, RevertWithoutSavedTreeKeepsTheWorkingTree)
{
    addFolder("A");
    std::filesystem::remove(home.refLib() / "folders.~wnf");
    library.RevertLibrary({});
    EXPECT_EQ(home.read("folders.wnf"), crlf({"Main", "A"}));
}

TEST_F(SaveRevertTest, RevertAppliesTheFolderStateFileToTheTreeInMemory)
{
    addFolder("A");
    home.write("foldst.wnf", crlf({"1", "False", "True"}));
    library.RevertLibrary({});
    EXPECT_EQ(library.folderTree().selectedIndex(), 1u);
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
    // A directory where the backup of B should go.
    std::filesystem::create_directory(home.links() / "B.~wnl");
    try {
        library.SaveLibrary();
        FAIL() << "the save reported success";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("\"" + (home.links() / "B.~wnl").string() + "\". Is a directory"));
    }
    std::filesystem::remove(home.links() / "B.~wnl");
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
    EXPECT_THAT(home.read("Links/B.~wnl"), ::testing::HasSubstr("0 moved"));
    EXPECT_FALSE(home.exists("save-in-progress"));

    // A tree that stops with an error names only part of the folders: no save from it.
    const auto before = home.snapshot();
    home.write("save-in-progress", "");
    home.write("folders.wnf", crlf({"Main", "\t\t\tLost level"}));
    Library broken{home.path(), clock};
    EXPECT_THROW(broken.OpenLibrary(RestoreFolderStates::No), Error);
    EXPECT_EQ(home.read("Links/B.~wnl"), before.at("Links/B.~wnl"));
    EXPECT_EQ(home.read("folders.~wnf"), before.at("folders.~wnf"));
    EXPECT_TRUE(home.exists("save-in-progress"));
}

TEST_F(SaveRevertTest, UnreadableBackupEndsTheRevertWithCannotOpen)
{
    addFolder("A");
    library.SaveLibrary();
    std::filesystem::remove(home.links() / "A.~wnl");
    std::filesystem::create_directory(home.links() / "A.~wnl");
    try {
        library.RevertLibrary({});
        FAIL() << "the revert reported success";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + (home.links() / "A.~wnl").string() + "\". Is a directory");
    }
}

} // namespace
} // namespace velloria
