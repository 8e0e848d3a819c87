// The store operations on a library directory: loading the tree and the folder states, the
// link file operations and the folder descriptions.

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
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr auto npos = TFolderTree::npos;

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() { home.makeLibraryDirectories(); }

    std::vector<std::string> tree() const
    {
        std::vector<std::string> lines;
        for (const auto& r : library.folderTree().records())
            lines.push_back(std::to_string(r.Level) + ":" + r.Name + (r.Expanded ? " +" : "") + (r.Selected ? " *" : ""));
        return lines;
    }

    std::string errorOf(const std::function<void()>& operation)
    {
        try {
            operation();
        } catch (const Error& error) {
            return error.what();
        }
        return "<no error>";
    }

    test::TempHome home;
    FixedClock clock{{2026, 12, 5}};
    Library library{home.path(), clock};
};

TEST_F(LibraryTest, FirstStartCreatesTheDefaultLibrary)
{
    test::TempHome fresh;
    Library first(fresh.path(), clock);
    first.OpenLibrary(RestoreFolderStates::Yes);
    EXPECT_EQ(first.folderTree().count(), 1u);
    EXPECT_EQ(first.folderTree()[0].Name, "Main");
    EXPECT_EQ(fresh.read("folders.wnf"), crlf({"Main"}));
    EXPECT_EQ(fresh.read("folders.~wnf"), crlf({"Main"}));
    EXPECT_EQ(fresh.read("folddesc.wnf"), crlf({"Main", "Main folder"}));
    EXPECT_EQ(fresh.read("folddesc.~wnf"), crlf({"Main", "Main folder"}));
    const std::string address(kHomePageAddress);
    EXPECT_EQ(fresh.read("Links/Main.wnl"),
              crlf({"0 Orvanti", "1 " + address, "2 ", "3 2026.12.5", "4 Orvanti", "0 Velloria", "1 " + address, "2 ",
                    "3 2026.12.5", "4 Home Page"}));
    EXPECT_EQ(fresh.read("Links/Main.~wnl"),
              crlf({"0 Orvanti", "1 " + address, "2 ", "3 2026.12.5", "4 Orvanti Website", "0 Orvanti",
                    "1 " + address, "2 ", "3 2026.12.5", "4 Home Page"}));
}

TEST_F(LibraryTest, ExistingLibraryWithoutTreeFileStartsEmptyAndWritesNothing)
{
    library.OpenLibrary(RestoreFolderStates::Yes);
    EXPECT_TRUE(library.folderTree().empty());
    EXPECT_TRUE(home.snapshot().empty());
}

TEST_F(LibraryTest, FolderStatesComeBackWhenRestored)
{
    home.write("folders.wnf", crlf({"A", "\tB", "C"}));
    home.write("foldst.wnf", crlf({"0", "True", "False", "1", "False", "False", "2", "False", "True"}));
    library.OpenLibrary(RestoreFolderStates::Yes);
    EXPECT_THAT(tree(), ElementsAre("0:A +", "1:B", "0:C *"));

    Library notRestored(home.path(), clock);
    notRestored.OpenLibrary(RestoreFolderStates::No);
    EXPECT_FALSE(notRestored.folderTree()[0].Expanded);
    EXPECT_EQ(notRestored.folderTree().selectedIndex(), npos);
}

TEST_F(LibraryTest, FolderStatesAreAppliedInFileOrder)
{
    home.write("folders.wnf", crlf({"A", "B", "C"}));
    // Index 5 is beyond the tree: the last folder is selected. A later "False" on the selected
    // folder leaves no selection; on another folder it changes nothing.
    home.write("foldst.wnf", crlf({"5", "False", "False", "0", "False", "False"}));
    library.LoadFolderTree();
    library.LoadFolderStates();
    EXPECT_EQ(library.folderTree().selectedIndex(), 2u);
    home.write("foldst.wnf", crlf({"1", "False", "True", "1", "False", "False", "-3", "True", "True"}));
    library.LoadFolderStates();
    EXPECT_EQ(library.folderTree().selectedIndex(), npos);
}

TEST_F(LibraryTest, FolderStatesRoundTripThroughTheFile)
{
    home.write("folders.wnf", crlf({"A", "\tB", "\t\tC", "D"}));
    library.LoadFolderTree();
    library.folderTree().setExpanded(0, true);
    library.folderTree().setExpanded(1, true);
    library.folderTree().select(2);
    library.SaveFolderStates();
    EXPECT_EQ(home.read("foldst.wnf"),
              crlf({"0", "True", "False", "1", "True", "False", "2", "False", "True", "3", "False", "False"}));
    Library again(home.path(), clock);
    again.OpenLibrary(RestoreFolderStates::Yes);
    EXPECT_EQ(again.folderTree().records(), library.folderTree().records());
}

TEST_F(LibraryTest, EmptyTreeLeavesTheStateFileAlone)
{
    home.write("foldst.wnf", "old");
    library.SaveFolderStates();
    EXPECT_EQ(home.read("foldst.wnf"), "old");
}

TEST_F(LibraryTest, BadStateFileKeepsTheStatesAppliedBeforeIt)
{
    home.write("folders.wnf", crlf({"A", "\tB", "C"}));
    home.write("foldst.wnf", crlf({"0", "True", "False", "2", "maybe", "True"}));
    EXPECT_EQ(errorOf([&] { library.OpenLibrary(RestoreFolderStates::Yes); }), "'maybe' is not a valid boolean value");
    EXPECT_THAT(tree(), ElementsAre("0:A +", "1:B", "0:C"));
}

TEST_F(LibraryTest, InvalidLevelKeepsTheFoldersReadAndStillRestoresStates)
{
    home.write("folders.wnf", crlf({"A", "\tB", "\t\t\tC", "D"}));
    home.write("foldst.wnf", crlf({"1", "False", "True"}));
    EXPECT_EQ(errorOf([&] { library.OpenLibrary(RestoreFolderStates::Yes); }), "Invalid level (3) for item \"C\"");
    EXPECT_THAT(tree(), ElementsAre("0:A", "1:B *"));
}

TEST_F(LibraryTest, UnsafeNamesFromAHandEditedTreeNeverReachTheFileSystem)
{
    home.write("folders.wnf", crlf({"Good", "\t../../outside", "\tgood_1"}));
    EXPECT_EQ(errorOf([&] { library.LoadFolderTree(); }),
              "The folder name \"../../outside\" cannot be used as a file name; the folder is called \"....outside\" "
              "instead");
    EXPECT_THAT(tree(), ElementsAre("0:Good", "1:....outside", "1:good_1"));
    library.linkList() = {{"T", "A", "", "D"}};
    library.linkDescriptions() = {""};
    library.SaveLinkFile("....outside", ".wnl");
    EXPECT_TRUE(home.exists("Links/....outside.wnl"));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "outside.wnl"));
    EXPECT_THAT(errorOf([&] { library.SaveLinkFile("../x", ".wnl"); }), HasSubstr("cannot be used as a file name"));
}

TEST_F(LibraryTest, LinkFilesRoundTripAndMissingFilesGiveEmptyLists)
{
    library.linkList() = {{"One", "https://one.example/", "", "2026.1.2"}, {"Two", "", "2026.3.4", ""}};
    library.linkDescriptions() = {"first", ""};
    library.SaveLinkFile("F", ".wnl");
    const TLinkList saved = library.linkList();
    library.linkList().clear();
    library.LoadLinkFile("F");
    EXPECT_EQ(library.linkList(), saved);
    EXPECT_THAT(library.linkDescriptions(), ElementsAre("first", ""));

    library.linkList().clear();
    library.LoadLinkFile("Nothing");
    EXPECT_TRUE(library.linkList().empty());
    EXPECT_TRUE(library.linkDescriptions().empty());

    library.SaveLinkFile("Empty", ".wnl");
    EXPECT_EQ(home.read("Links/Empty.wnl"), "");
}

TEST_F(LibraryTest, BrokenLinkFileKeepsTheLinksReadBeforeTheErrorAndItsBytesWhenRewritten)
{
    const std::string damaged = crlf({"0 One", "1 a", "2 ", "3 d", "4 x", "Q", "0 Two", "1 b", "2 ", "3 e", "4 y"});
    home.write("Links/F.wnl", damaged);
    library.linkList().clear();
    EXPECT_EQ(errorOf([&] { library.LoadLinkFile("F"); }), "'Q' is not a valid integer value");
    EXPECT_EQ(library.linkList().size(), 1u);

    // The first edit writes the rows read; the whole damaged file stays beside it, once.
    library.SaveLinkFile("F", ".wnl");
    EXPECT_EQ(home.read("Links/F.wnl"), crlf({"0 One", "1 a", "2 ", "3 d", "4 x"}));
    EXPECT_EQ(home.read("Links/F.damaged"), damaged);
    library.linkList().clear();
    library.SaveLinkFile("F", ".wnl");
    EXPECT_EQ(home.read("Links/F.damaged"), damaged);
}

TEST_F(LibraryTest, CopyLinkFileRewritesLinesAndCreatesAMissingSource)
{
    home.write("Links/F.wnl", "0 T\n1 A\r2 \r\n3 D\n4 ");
    library.CopyLinkFile("F", ".wnl", ".~wnl");
    EXPECT_EQ(home.read("Links/F.~wnl"), crlf({"0 T", "1 A", "2 ", "3 D", "4 "}));

    library.CopyLinkFile("G", ".wnl", ".~wnl");
    EXPECT_EQ(home.read("Links/G.wnl"), "\r\n");
    EXPECT_FALSE(home.exists("Links/G.~wnl"));
}

TEST_F(LibraryTest, DeleteLinkFileToleratesAMissingFile)
{
    home.write("Links/F.wnl", "x");
    library.DeleteLinkFile("F");
    library.DeleteLinkFile("F");
    EXPECT_FALSE(home.exists("Links/F.wnl"));
}

TEST_F(LibraryTest, FolderDescriptionsAreShownFromTheLastPair)
{
    home.write("folddesc.wnf", crlf({"A", "old", "B", "bee", "A", "new"}));
    EXPECT_EQ(library.ShowFolderDescription("A"), "new");
    EXPECT_EQ(library.folderDescription(), "new");
    // A folder without a pair shows the empty description, not the one shown before.
    EXPECT_EQ(library.ShowFolderDescription("C"), "");
    EXPECT_EQ(library.folderDescription(), "");

    std::string description = "unchanged";
    library.GetFolderDescription("C", description);
    EXPECT_EQ(description, "unchanged");
    library.GetFolderDescription("B", description);
    EXPECT_EQ(description, "bee");
}

TEST_F(LibraryTest, AddingDescriptionsCreatesTheFileAppendingDoesNot)
{
    library.AppendFolderDescription("A", "x");
    EXPECT_FALSE(home.exists("folddesc.wnf"));
    library.AddFolderDescription("A", "first");
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"A", "first"}));
    library.AppendFolderDescription("A", "second\r\nline");
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"A", "first", "A", "second  line"}));
    EXPECT_EQ(library.ShowFolderDescription("A"), "second  line");
}

TEST_F(LibraryTest, AppendingKeepsPairsAlignedInAnUnevenFile)
{
    // A file holding one empty line, and a file ending with an unpaired name without a line end.
    home.write("folddesc.wnf", "\r\n");
    library.AddFolderDescription("A", "alpha");
    EXPECT_EQ(library.ShowFolderDescription("A"), "alpha");
    home.write("folddesc.wnf", "B\r\nbee\r\nC");
    library.AddFolderDescription("D", "dee");
    EXPECT_EQ(library.ShowFolderDescription("D"), "dee");
    EXPECT_EQ(library.ShowFolderDescription("B"), "bee");
    EXPECT_EQ(library.ShowFolderDescription("C"), "");
}

TEST_F(LibraryTest, PurgeDeletedFoldersRemovesFilesAndDescriptionsOfDeletedFolders)
{
    home.write("folders.wnf", crlf({"Keep", "Gone", "\tSub", "\t\tSubSub", "New"}));
    home.write("folders.~wnf", crlf({"Keep", "Gone", "\tSub", "\t\tSubSub"}));
    home.write("folddesc.wnf", crlf({"Keep", "k", "Gone", "g", "Sub", "s", "SubSub", "ss", "Keep", "k2", "New", "n"}));
    home.write("folddesc.~wnf", crlf({"Keep", "k", "Gone", "g"}));
    for (const char* name : {"Keep", "Gone", "Sub", "SubSub", "New"})
        home.write(std::string("Links/") + name + ".wnl", "x");
    library.LoadFolderTree();
    library.folderTree().removeSubtree(1);
    library.SaveFolderTree("folders.wnf");
    library.PurgeDeletedFolders();

    EXPECT_EQ(home.read("folders.wnf"), crlf({"Keep", "New"}));
    EXPECT_FALSE(home.exists("Links/Gone.wnl"));
    EXPECT_FALSE(home.exists("Links/Sub.wnl"));
    EXPECT_FALSE(home.exists("Links/SubSub.wnl"));
    EXPECT_TRUE(home.exists("Links/Keep.wnl"));
    // The description of New, recorded after the last save, survives; Keep's later pair wins
    // in the place of its first.
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"Keep", "k2", "New", "n"}));
}

TEST_F(LibraryTest, PurgeDeletedFoldersWithoutSavedTreeStillRebuildsDescriptions)
{
    home.write("folders.wnf", crlf({"A"}));
    home.write("folddesc.wnf", crlf({"A", "a", "B", "b"}));
    library.LoadFolderTree();
    library.PurgeDeletedFolders();
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"A", "a"}));
}

TEST_F(LibraryTest, FailedWritesLeaveTheTargetUnchanged)
{
    home.write("folders.wnf", crlf({"A"}));
    library.LoadFolderTree();
    library.folderTree().appendChild(npos, "B");
    std::filesystem::create_directory(home.refLib() / "folders.~wnf"); // a directory in the way
    EXPECT_THAT(errorOf([&] { library.SaveFolderTree("folders.~wnf"); }), HasSubstr("Cannot create file"));
    EXPECT_TRUE(std::filesystem::is_directory(home.refLib() / "folders.~wnf"));

    std::filesystem::remove_all(home.links());
    EXPECT_THAT(errorOf([&] { library.SaveLinkFile("A", ".wnl"); }),
                HasSubstr("Cannot create file \"" + (home.links() / "A.wnl").string() + "\". No such file or directory"));
    EXPECT_EQ(home.read("folders.wnf"), crlf({"A"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.refLib()), {}), 2); // no temporary left
}

} // namespace
} // namespace velloria
