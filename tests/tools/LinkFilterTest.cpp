// The filter's rule of a matching link, and the index of every link that it runs on: what it
// finds, where each link is, and what it reads again after the files change.

#include "platform/FileIO.h"
#include "store/Library.h"
#include "support/Fixtures.h"
#include "tools/LinkFilter.h"
#include "tools/Sort.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using test::Link;

TEST(LinkFilter, AWordMatchesWithinOneFieldWhateverTheCaseOrAccents)
{
    const struct {
        const char* filter;
        const char* title;
        const char* address;
        const char* description;
        bool matches;
    } cases[] = {
        {"news", "Daily News", "http://a.example/", "", true},
        {"NEWS daily", "Daily News", "http://a.example/", "", true},     // any order, any case
        {"news weekly", "Daily News", "http://a.example/", "", false},   // every word
        {"example daily", "Daily", "http://a.example/", "", true},       // words in different fields
        {"papers", "Daily", "http://a.example/", "All the papers", true}, // the description
        {"news\thttp", "News", "http://a.example/", "", true},           // any white space between
        {"ynews", "Daily", "News", "", false},                           // never across two fields
        {"cafe", "Caf\xC3\xA9 de Flore", "", "", true},                  // é matches e
        {"caf\xC3\xA9", "CAFE", "", "", true},                           // and e matches é
        {"\xC3\x89T\xC3\x89", "l'\xC3\xA9t\xC3\xA9", "", "", true},      // ÉTÉ and été
        {"strasse", "Stra\xC3\x9F" "e", "", "", true},                   // ß folds to ss
        {"na\xC3\xAFve", "Na\xEFve", "", "", true},                      // an older file's Windows-1252
        {"\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "", "",
         true},                                                         // Cyrillic case
        {"", "Anything", "", "", true},
        {"   ", "Anything", "", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filterMatches(FilterWords(c.filter), c.title, c.address, c.description), c.matches) << c.filter;
}

TEST(LinkFilter, AFilterNarrowsAnotherWhenEachOfItsWordsIsInOneOfTheNew)
{
    const struct {
        const char* earlier;
        const char* later;
        bool narrows;
    } cases[] = {
        {"ne", "new", true}, {"new", "news daily", true}, {"da ne", "news daily", true},
        {"new", "ne", false}, {"news", "daily", false},   {"", "x", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterWords(c.later).narrows(FilterWords(c.earlier)), c.narrows) << c.earlier << " -> " << c.later;
}

TEST(LinkFilter, SortKeysOrderValuesAsTheListSortsThemOrLeaveItOpen)
{
    const std::vector<std::string> values = {"", "a", "A", std::string("a\0", 2), "ab", "abcdefgh", "abcdefghi",
                                             "ABCDEFGH!", "abcdefgH", "Zeta", "zeta", "[x", "_", "\xC3\xA9", "\xFF"};
    for (const std::string& a : values)
        for (const std::string& b : values) {
            const std::uint64_t x = sortKeyPrefix(a), y = sortKeyPrefix(b);
            const int compared = compareSortValues(a, b);
            if (x != y) {
                EXPECT_EQ(x < y, compared < 0) << a << " / " << b;
            } else if (a.size() <= 7 && b.size() <= 7 && a.find('\0') == std::string::npos
                       && b.find('\0') == std::string::npos) {
                EXPECT_EQ(compared, 0) << a << " / " << b; // short values: the key is the whole value
            }
        }
}

class LinkIndexTest : public test::HomeTest {
protected:
    void SetUp() override
    {
        writeLibrary(home, {.tree = {"Top", "\tNews", "\tEmpty", "Caf\xC3\xA9s"},
                            .links = {{"Top", {{"Zeta", "http://z.example/"}, {"alpha", "http://a.example/"}}},
                                      {"News", {{"Daily News", "http://news.example/", "", "2026.2.1", "Papers"}}},
                                      {"Caf\xC3\xA9s", {{"Beta", "http://b.example/", "", "2026.1.2"}}}}});
        library.OpenLibrary(RestoreFolderStates::No);
        EXPECT_TRUE(index.refresh(library));
    }
    // "folder path: title" of each link given.
    std::vector<std::string> lines(const std::vector<std::uint32_t>& links) const
    {
        std::vector<std::string> result;
        for (const std::uint32_t i : links)
            result.push_back(index.folderPath(i) + ": " + std::string(index.at(i).link.Title));
        return result;
    }
    std::vector<std::string> matching(std::string_view filter) const { return lines(index.match(FilterWords(filter))); }

    LinkIndex index;
};

TEST_F(LinkIndexTest, FindsTheLinksOfEveryFolderInTreeOrderWithWhereEachIs)
{
    EXPECT_THAT(matching(""), ElementsAre("Top: Zeta", "Top: alpha", "Top / News: Daily News", "Caf\xC3\xA9s: Beta"));
    EXPECT_THAT(matching("EXAMPLE pa"), ElementsAre("Top / News: Daily News"));
    EXPECT_THAT(matching("Z.EXAMPLE"), ElementsAre("Top: Zeta"));
    EXPECT_THAT(matching("papers"), ElementsAre("Top / News: Daily News"));
    EXPECT_THAT(matching("nothing"), ElementsAre());
    const LinkIndex::Link news = index.at(2);
    EXPECT_EQ(news.folder, 1u);
    EXPECT_EQ(news.row, 0u);
    EXPECT_EQ(news.link.Address, "http://news.example/");
    EXPECT_EQ(news.link.AddDate, "2026.2.1");
    EXPECT_EQ(news.description, "Papers");
    // Narrowing looks only among the links given.
    const std::vector<std::uint32_t> some = index.match(FilterWords("a"));
    const std::vector<std::uint32_t> within{0, 3};
    EXPECT_THAT(lines(index.match(FilterWords("eta"), &within)), ElementsAre("Top: Zeta", "Caf\xC3\xA9s: Beta"));
    EXPECT_EQ(index.match(FilterWords("exam"), &some), index.match(FilterWords("exam")));
}

TEST_F(LinkIndexTest, SortsTheLinksGivenAsAFolderListSortsThem)
{
    const std::vector<std::uint32_t> all = index.match(FilterWords(""));
    const std::vector<std::uint32_t> some{0, 1, 3};
    const struct {
        const std::vector<std::uint32_t>* links;
        int mode;
        bool reversed;
        std::vector<std::string> expected;
    } cases[] = {
        {&all, 0, false, {"Top: alpha", "Caf\xC3\xA9s: Beta", "Top / News: Daily News", "Top: Zeta"}},
        {&all, 0, true, {"Top: Zeta", "Top / News: Daily News", "Caf\xC3\xA9s: Beta", "Top: alpha"}},
        {&some, 1, false, {"Top: alpha", "Caf\xC3\xA9s: Beta", "Top: Zeta"}},
        // equal add dates keep tree order, also reversed
        {&all, 3, true, {"Top / News: Daily News", "Caf\xC3\xA9s: Beta", "Top: Zeta", "Top: alpha"}},
        {&some, 4, false, {"Top: Zeta", "Top: alpha", "Caf\xC3\xA9s: Beta"}}, // unsorted
    };
    for (const auto& c : cases)
        EXPECT_EQ(lines(index.sorted(*c.links, c.mode, c.reversed)), c.expected) << c.mode << c.reversed;
}

TEST_F(LinkIndexTest, ReadsAgainOnlyWhatChangedAndFollowsTheTree)
{
    EXPECT_FALSE(index.refresh(library));
    // A folder's file written anew is read again; the others are kept as they were read.
    library.LoadLinkFile("Top");
    library.linkList()[1].Title = "Gamma";
    library.SaveLinkFile("Top", kWorkingLinkExt);
    EXPECT_TRUE(index.refresh(library));
    EXPECT_THAT(matching("a"), ElementsAre("Top: Zeta", "Top: Gamma", "Top / News: Daily News", "Caf\xC3\xA9s: Beta"));
    // A folder renamed gives its subfolders' links their new path (its own file is another now).
    library.folderTree().rename(0, "Home");
    EXPECT_TRUE(index.refresh(library));
    EXPECT_THAT(matching(""), ElementsAre("Home / News: Daily News", "Caf\xC3\xA9s: Beta"));
    // A folder gone takes its links along.
    library.folderTree().removeSubtree(1);
    EXPECT_TRUE(index.refresh(library));
    EXPECT_THAT(matching(""), ElementsAre("Caf\xC3\xA9s: Beta"));
    EXPECT_EQ(index.at(0).folder, 2u);
}

TEST_F(LinkIndexTest, ADamagedFileGivesItsFirstLinksNotToBeWrittenAndANamedProblem)
{
    const auto file = library.paths().linkFilePath("Top", kWorkingLinkExt);
    test::writeBytes(file, test::linkFile({{"First", "http://f.example/"}}) + "x broken\r\n");
    EXPECT_TRUE(index.refresh(library));
    EXPECT_THAT(matching("first"), ElementsAre("Top: First"));
    EXPECT_FALSE(index.at(0).writable);
    EXPECT_TRUE(index.at(1).writable);
    ASSERT_EQ(index.problems().size(), 1u);
    EXPECT_THAT(index.problems()[0], ::testing::StartsWith("Top: "));
}

} // namespace
} // namespace velloria
