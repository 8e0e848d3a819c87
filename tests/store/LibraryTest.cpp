// The store operations on a library directory: loading the tree and the folder states, the
// link file operations and the folder descriptions.

#include "support/Fixtures.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::errorOf;
using test::Lines;
using ::testing::ElementsAre;

class LibraryTest : public test::HomeTest {
protected:
    LibraryTest() { home.makeLibraryDirectories(); }
    // The tree as "level:name" lines, " +" when expanded, " *" when selected.
    static Lines tree(const Library& of)
    {
        Lines lines;
        for (const auto& r : of.folderTree().records())
            lines.push_back(std::to_string(r.Level) + ":" + r.Name + (r.Expanded ? " +" : "") + (r.Selected ? " *" : ""));
        return lines;
    }
};

TEST_F(LibraryTest, FolderStatesAreAppliedInFileOrderUpToTheFirstFault)
{
    const struct {
        Lines tree;
        std::string states;
        RestoreFolderStates restore;
        std::string error;
        Lines loaded;
    } cases[] = {
        {{"A", "\tB", "C"}, crlf({"0", "True", "False", "1", "False", "False", "2", "False", "True"}),
         RestoreFolderStates::Yes, "<no error>", {"0:A +", "1:B", "0:C *"}},
        {{"A", "\tB", "C"}, crlf({"0", "True", "False", "2", "False", "True"}), RestoreFolderStates::No, "<no error>",
         {"0:A", "1:B", "0:C"}},
        // The words are read without regard to case.
        {{"A", "\tB"}, crlf({"0", "true", "FALSE", "1", "False", "TRUE"}), RestoreFolderStates::Yes, "<no error>",
         {"0:A +", "1:B *"}},
        {{"A", "\tB"}, crlf({"0", "True", "False", "one", "True", "False"}), RestoreFolderStates::Yes,
         "'one' is not a valid integer value", {"0:A +", "1:B"}},
        // A file cut short: the missing line reads as empty.
        {{"A", "\tB"}, crlf({"0", "True"}), RestoreFolderStates::Yes, "'' is not a valid boolean value", {"0:A", "1:B"}},
        // The folders before a bad level are read and still get their states.
        {{"A", "\tB", "\t\t\tC", "D"}, crlf({"1", "False", "True"}), RestoreFolderStates::Yes,
         "Invalid level (3) for item \"C\"", {"0:A", "1:B *"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.states));
        test::writeLibrary(home, {.tree = c.tree, .saved = false});
        home.write("foldst.wnf", c.states);
        Library loaded(home.path(), clock);
        EXPECT_EQ(errorOf([&] { loaded.OpenLibrary(c.restore); }), c.error);
        EXPECT_EQ(tree(loaded), c.loaded);
    }
}

TEST_F(LibraryTest, FolderStatesAreWrittenOnePerFolderAndAnEmptyTreeLeavesTheFileAlone)
{
    library.OpenLibrary(RestoreFolderStates::Yes); // an existing library without a tree file
    EXPECT_TRUE(library.folderTree().empty());
    library.SaveFolderStates();
    EXPECT_TRUE(home.snapshot().empty());
    home.write("folders.wnf", crlf({"A", "\tB", "\t\tC", "D"}));
    library.LoadFolderTree();
    library.folderTree().setExpanded(0, true);
    library.folderTree().setExpanded(1, true);
    library.folderTree().select(2);
    library.SaveFolderStates();
    EXPECT_EQ(home.read("foldst.wnf"),
              crlf({"0", "True", "False", "1", "True", "False", "2", "False", "True", "3", "False", "False"}));
}

TEST_F(LibraryTest, AnUnsafeFolderNameNeverReachesTheFileSystem)
{
    EXPECT_EQ(errorOf([&] { library.SaveLinkFile("../x", ".wnl"); }),
              "The folder name \"../x\" cannot be used as a file name");
    EXPECT_FALSE(fs::exists(home.path() / "x.wnl"));
}

TEST_F(LibraryTest, LinkFilesAreSavedLoadedAndDeletedByFolderName)
{
    library.linkList() = {{"One", "https://one.example/", "", "2026.1.2"}, {"Two", "", "2026.3.4", ""}};
    library.linkDescriptions() = {"first", ""};
    library.SaveLinkFile("F", ".wnl");
    const TLinkList saved = library.linkList();
    library.LoadLinkFile("Nothing"); // a folder without a link file has no links
    EXPECT_TRUE(library.linkList().empty());
    EXPECT_TRUE(library.linkDescriptions().empty());
    library.LoadLinkFile("F");
    EXPECT_EQ(library.linkList(), saved);
    EXPECT_THAT(library.linkDescriptions(), ElementsAre("first", ""));
    library.DeleteLinkFile("F");
    library.DeleteLinkFile("F"); // a missing file is no error
    EXPECT_FALSE(home.exists("Links/F.wnl"));
    fs::remove_all(home.links());
    EXPECT_EQ(errorOf([&] { library.SaveLinkFile("A", ".wnl"); }),
              "Cannot create file \"" + (home.links() / "A.wnl").string() + "\". No such file or directory");
}

TEST_F(LibraryTest, BrokenLinkFileKeepsTheLinksReadBeforeTheErrorAndItsBytesWhenRewritten)
{
    const std::string damaged = crlf({"0 One", "1 a", "2 ", "3 d", "4 x", "Q", "0 Two", "1 b", "2 ", "3 e", "4 y"});
    home.write("Links/F.wnl", damaged);
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

TEST_F(LibraryTest, FolderDescriptionsAreAddedAsPairsAndShownFromTheLastPair)
{
    library.AppendFolderDescription("A", "x"); // appending creates no file
    EXPECT_FALSE(home.exists("folddesc.wnf"));
    library.AddFolderDescription("A", "first");
    library.AppendFolderDescription("A", "second\r\nline");
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"A", "first", "A", "second  line"}));
    EXPECT_EQ(library.ShowFolderDescription("A"), "second  line");
    // A folder without a pair shows the empty description, not the one shown before.
    EXPECT_EQ(library.ShowFolderDescription("C"), "");
    EXPECT_EQ(library.folderDescription(), "");
    // A file ending with an unpaired name without a line end gets the next pair after it.
    home.write("folddesc.wnf", "B\r\nbee\r\nC");
    library.AddFolderDescription("D", "dee");
    EXPECT_EQ(library.ShowFolderDescription("D"), "dee");
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
    EXPECT_EQ(test::filesBelow(home.links()), (std::map<std::string, std::string>{{"Keep.wnl", "x"}, {"New.wnl", "x"}}));
    // The description of New, recorded after the last save, survives; Keep's later pair wins in
    // the place of its first.
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"Keep", "k2", "New", "n"}));

    // Without a saved tree the descriptions are still rebuilt.
    fs::remove(home.refLib() / "folders.~wnf");
    home.write("folddesc.wnf", crlf({"Keep", "k", "B", "b"}));
    library.PurgeDeletedFolders();
    EXPECT_EQ(home.read("folddesc.wnf"), crlf({"Keep", "k"}));
}

} // namespace
} // namespace velloria
