// Find Duplicates: the rule of the same link, the link kept, and deleting over several folders
// with its undo in one step.

#include "mainwindow/DuplicatesDialog.h"
#include "mainwindow/MainWindowFixture.h"
#include "tools/Duplicates.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;

LibraryLink linkAt(const char* address, const char* lastVisit = "", const char* added = "", bool writable = true)
{
    return {.link = {"t", address, lastVisit, added}, .writable = writable};
}

// Whether two addresses are the same link by each rule.
using HomeTestForDuplicates = test::HomeTest;

TEST(SameLink, EachStepOfBothRules)
{
    const struct {
        const char* a;
        const char* b;
        bool exact, loose;
    } cases[] = {
        {" http://Example.COM/a\t", "http://example.com/a", true, true}, // blanks, host case
        {"HTTPS://example.com/a", "https://example.com/a", true, true},  // scheme case
        {"example.com/a", "http://example.com/a", true, true},           // no scheme: http
        {"localhost:8080/x", "http://localhost:8080/x", true, true},
        {"http://example.com:80/a", "http://example.com/a", true, true},
        {"https://example.com:443/", "https://example.com/", true, true},
        {"ftp://example.com:21/f", "ftp://example.com/f", true, true},
        {"http://example.com:/a", "http://example.com/a", true, true}, // an empty port is none
        {"https://example.com:80/", "https://example.com/", false, false},
        {"http://example.com:8080/", "http://example.com/", false, false},
        {"http://[::1]:80/", "http://[::1]/", true, true},
        {"http://Ann@Example.com/", "http://Ann@example.com/", true, true},
        {"http://example.com", "http://example.com/", true, true}, // empty path
        {"http://example.com?q", "http://example.com/?q", true, true},
        {"http://example.com/a#top", "http://example.com/a", true, true},
        {"http://example.com/A", "http://example.com/a", false, false}, // path exact
        {"http://example.com/a?x=1", "http://example.com/a?X=1", false, false},
        {"http://example.com/a?x=1", "http://example.com/a?x=1#f", true, true},
        {"http://example.com/a", "https://example.com/a", false, true},
        {"http://www.example.com/", "http://example.com/", false, true},
        {"http://wwwx.example.com/", "http://x.example.com/", false, false},
        {"http://example.com/a/", "http://example.com/a", false, true},
        {"http://example.com/a//", "http://example.com/a", false, false}, // one slash only
        {"https://WWW.Example.com:443", "http://example.com:80/", false, true},
        {" mailto:a@b.example ", "mailto:a@b.example", true, true},
        {"mailto:Ann@b.example", "mailto:ann@b.example", false, false},
        {"javascript:void(0)", "javascript:void(0)", true, true},
        {"file:///home/a", "FILE:///home/a", false, false},
        {"file:///home/a", "http://file:///home/a", false, false},
        {"my notes", "My notes", false, false},
        {"my notes#1", "my notes#1", true, true},
        {"gopher://Example.com/", "gopher://example.com/", false, false},
        {"", " ", false, false}, // no address is the same as no other
    };
    for (const auto& c : cases)
        for (const auto& [rule, same] : {std::pair{SameLinkRule::Exact, c.exact}, std::pair{SameLinkRule::Loose, c.loose}})
            EXPECT_EQ(findDuplicates({linkAt(c.a), linkAt(c.b)}, rule).size(), same ? 1u : 0u)
                << c.a << " | " << c.b << (rule == SameLinkRule::Loose ? " (loose)" : " (exact)");
}

TEST(SameLink, TheProposalKeepsTheLastVisitedElseTheFirstAddedElseTheFirst)
{
    const struct {
        std::vector<LibraryLink> links;
        std::vector<bool> deleted;
    } cases[] = {
        // Dates compare as dates, not as text: 2026.11.2 is after 2026.3.1.
        {{linkAt("a", "", "2020.1.1"), linkAt("a", "2026.3.1"), linkAt("a", "2026.11.2"), linkAt("a", "2025.12.30")},
         {true, true, false, true}},
        {{linkAt("a", " ", "2026.5.1"), linkAt("a", "", "2024.12.1"), linkAt("a", "", "2024.12.1")}, {true, false, true}},
        {{linkAt("a", "", "2026.1.1"), linkAt("a", "not a date", "")}, {false, true}},
        {{linkAt("a"), linkAt("a"), linkAt("a")}, {false, true, true}},
        {{linkAt("a", "2026.1.2"), linkAt("a", "2026.1.2")}, {false, true}},
        // A link that cannot be deleted stays, also when it is not the one kept.
        {{linkAt("a", "2026.1.2"), linkAt("a", "", "", false), linkAt("a")}, {false, false, true}},
    };
    for (const auto& c : cases) {
        const auto groups = findDuplicates(c.links, SameLinkRule::Exact);
        ASSERT_EQ(groups.size(), 1u);
        std::vector<bool> deleted;
        for (std::size_t member = 0; member < c.links.size(); ++member)
            deleted.push_back(proposedForDeletion(groups[0], member, c.links));
        EXPECT_EQ(deleted, c.deleted) << c.links[0].link.LastVisit;
    }
}

// A library large enough to be read and compared in parts at once gives what one part would.
TEST_F(HomeTestForDuplicates, ALargeLibraryIsReadInPartsInTreeOrder)
{
    test::SmallLibrary files;
    for (int folder = 0; folder < 100; ++folder) {
        files.tree.push_back("F" + std::to_string(folder));
        auto& links = files.links["F" + std::to_string(folder)];
        for (int row = 0; row < 20; ++row)
            links.push_back({"t", "https://s" + std::to_string(row) + ".example/p"});
    }
    files.links["F50"][3].address = "HTTPS://S3.example:443/p#x";
    test::writeLibrary(home, files);
    library.LoadFolderTree();
    const LibraryLinks links = readLibraryLinks(library);
    ASSERT_EQ(links.links.size(), 2000u);
    const auto groups = findDuplicates(links.links, SameLinkRule::Exact);
    ASSERT_EQ(groups.size(), 20u);
    for (std::size_t group = 0; group < groups.size(); ++group) {
        ASSERT_EQ(groups[group].links.size(), 100u);
        for (std::size_t member = 0; member < 100; ++member) {
            const LibraryLink& link = links.links[groups[group].links[member]];
            EXPECT_EQ(std::pair(link.folder, link.row), std::pair(member, group));
        }
    }
}

// The sample library with the same page in Top, A1, B (shown) and Other, twice in Other, and a
// damaged file in A2 that holds it before the damage. No confirmation, unsorted.
class DuplicatesTest : public test::MainWindowFixture {
protected:
    DuplicatesTest()
    {
        test::SmallLibrary files = test::sampleLibrary();
        files.links["Top"] = {{"home", "https://www.page.example/", "", "2025.1.1", "top's"}};
        files.links["A1"] = {{"keep me", "a1.example"}, {"page", "page.example", "2026.11.30", "2026.1.1", "a1's"}};
        files.links["B"].push_back({"page again", "http://page.example", "", "2024.1.1"});
        files.links["Other"] = {{"x", "https://x.example/"}, {"P", "page.example"}, {"y", "https://x.example/"},
                                {"P", "page.example", "", "2026.1.1", "second"}};
        test::writeLibrary(home, files);
        test::writeBytes(home.path() / "RefLib/Links/A2.wnl", kDamaged);
        open({"000 1.0", "003 False", "040 4"});
        model.tree().trvFoldersEnter();
        model.tree().selectFolder(4);
        model.list().lvReferencesEnter();
        for (const char* folder : {"Top", "A1", "B", "Other"})
            before[folder] = home.read("Links/" + std::string(folder) + ".wnl");
    }
    // Each group as "folder: title keep|delete|locked" lines.
    static std::vector<test::Lines> shown(const DuplicatesDialog& dialog)
    {
        std::vector<test::Lines> groups;
        for (std::size_t group = 0; group < dialog.groups().size(); ++group) {
            groups.emplace_back();
            for (std::size_t member = 0; member < dialog.groups()[group].links.size(); ++member)
                groups.back().push_back(dialog.folderPath(group, member) + ": " + std::string(dialog.link(group, member).link.Title)
                                        + (!dialog.checkable(group, member) ? " locked"
                                           : dialog.checked(group, member) ? " delete"
                                                                            : " keep"));
        }
        return groups;
    }

    const std::string kDamaged =
        test::linkFile({{"damaged", "http://page.example/"}}) + "x garbage\r\n" + test::linkFile({{"later", "l.example"}});
    std::map<std::string, std::string> before;
};

TEST_F(DuplicatesTest, GroupsInTreeOrderWithTheProposalAndTheDamagedFileLocked)
{
    DuplicatesDialog dialog(model);
    EXPECT_THAT(shown(dialog), ElementsAre(ElementsAre("Top / A / A1: page keep", "Top / A / A2: damaged locked",
                                                       "Top / B: page again delete", "Other: P delete", "Other: P delete"),
                                           ElementsAre("Other: x keep", "Other: y delete")));
    EXPECT_EQ(dialog.groupLine(0), "page.example  (5 links)");
    EXPECT_EQ(dialog.summary(), "Groups of the same link: 2. Checked for deleting: 4.\n"
                                "Not read in full, its links stay: A2: 'x' is not a valid integer value");
    dialog.setLoose(true);
    EXPECT_EQ(shown(dialog)[0].front(), "Top: home delete");
    EXPECT_EQ(dialog.checkedCount(), 5u);
    EXPECT_TRUE(model.flags().DuplicatesLoose); // the next opening compares loosely too
    EXPECT_TRUE(DuplicatesDialog(model).loose());
}

TEST_F(DuplicatesTest, DeleteCheckedWritesEachFolderAtOnceAndUndoPutsEveryLinkBack)
{
    DuplicatesDialog dialog(model);
    dialog.setChecked(1, 1, false); // y stays
    dialog.setChecked(0, 1, true);  // locked: stays unchecked
    EXPECT_EQ(dialog.deletionLines(), (test::Lines{"Top / B: page again (Bookmark)", "Other: P (Bookmark)",
                                                   "Other: P (Bookmark)"}));
    EXPECT_EQ(dialog.deleteChecked(), 3u);
    EXPECT_EQ(home.read("Links/Other.wnl"), test::linkFile({{"x", "https://x.example/"}, {"y", "https://x.example/"}}));
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(home.read("Links/B.wnl"), test::linkFile(test::sampleLibrary().links["B"]));
    EXPECT_EQ(home.read("Links/A1.wnl"), before["A1"]);
    EXPECT_EQ(home.read("Links/A2.wnl"), kDamaged);
    EXPECT_FALSE(home.exists("Links/A2.damaged"));
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_EQ(dialog.groups().size(), 2u); // read again: page in A1 and A2, x and y

    model.execute(Command::EditUndo);
    for (const auto& [folder, bytes] : before)
        EXPECT_EQ(home.read("Links/" + folder + ".wnl"), bytes) << folder;
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid", "page again"}));
    EXPECT_EQ(model.selection().selectedRows(), (std::vector<std::size_t>{3}));
    EXPECT_FALSE(model.commandStates().isEnabled(Command::EditUndo));
}

TEST_F(DuplicatesTest, UndoFindsAFolderRenamedSinceAndALinkGoneIsPassedOver)
{
    DuplicatesDialog dialog(model);
    test::writeBytes(home.path() / "RefLib/Links/Other.wnl", test::linkFile({{"P", "page.example"}}));
    EXPECT_EQ(dialog.deleteChecked(), 2u); // the second P and y are gone already
    EXPECT_EQ(home.read("Links/Other.wnl"), "");
    model.tree().trvFoldersEnter();
    model.tree().selectFolder(5);
    model.editing().editFolder("Renamed", "");
    model.execute(Command::EditUndo);
    EXPECT_EQ(home.read("Links/Renamed.wnl"), test::linkFile({{"P", "page.example"}}));
    EXPECT_EQ(titles(), (test::Lines{"P"}));
}

TEST_F(DuplicatesTest, UndoLeavesAFileDamagedSinceAsItIs)
{
    DuplicatesDialog(model).deleteChecked();
    const std::string damaged = "x damaged at once\r\n" + test::linkFile({{"kept", "k.example"}});
    test::writeBytes(home.path() / "RefLib/Links/Other.wnl", damaged);
    model.execute(Command::EditUndo);
    EXPECT_EQ(home.read("Links/Other.wnl"), damaged);
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid", "page again"})); // B is put back all the same
}

TEST_F(DuplicatesTest, ShowSelectsTheFolderAndRowAndOpenHandsTheAddressOver)
{
    DuplicatesDialog dialog(model);
    dialog.show(0, 4);
    EXPECT_EQ(model.tree().selectedFolder(), 5u);
    EXPECT_EQ(model.selection().selectedRows(), (std::vector<std::size_t>{3}));
    EXPECT_EQ(recorder.notices.back(), "focus list");
    dialog.open(0, 0);
    EXPECT_THAT(opener.opened, ElementsAre("http://page.example"));
    EXPECT_EQ(home.read("Links/A1.wnl"), before["A1"]); // a look, not a visit
}

} // namespace
} // namespace velloria
