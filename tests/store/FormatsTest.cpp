// The library file formats by their bytes (what each reader makes of a file and what each writer
// puts into one) and the folder names that become file names.

#include "store/FolderNames.h"
#include "store/FolderTree.h"
#include "store/FolderTreeFile.h"
#include "store/LinkFile.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>

#include <set>

namespace velloria {
namespace {

using test::crlf;
using ::testing::ElementsAre;
using ::testing::Pair;
using Lines = std::vector<std::string>;
using Error = std::optional<std::string>;

TEST(FolderTreeFile, ReadsLevelsFromTabsOrBlanksStopsAtALevelJumpAndWritesTabs)
{
    const struct {
        std::string bytes;
        Lines tree;
        Error error;
    } cases[] = {
        {"A\n\tB\n  C\r\n\tD\rE", {"0:A", "1:B", "2:C", "1:D", "0:E"}, {}},
        // Shallower lines go under the right ancestor.
        {crlf({"\t\tFirst", "\tUnderFirst", "\t\tDeep", "\t\t\tDeeper", "\tBack", "Top"}),
         {"0:First", "1:UnderFirst", "2:Deep", "3:Deeper", "1:Back", "0:Top"}, {}},
        {crlf({"Work  ", "", "\tChild"}), {"0:Work  ", "0:", "1:Child"}, {}}, // trailing blanks and empty names
        {crlf({"A", "\t\tB x", "C"}), {"0:A"}, "Invalid level (2) for item \"B x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const auto parse = parseFolderTree(c.bytes);
        Lines tree;
        for (const auto& record : parse.records)
            tree.push_back(std::to_string(record.Level) + ":" + record.Name);
        EXPECT_EQ(tree, c.tree);
        EXPECT_EQ(parse.error, c.error);
    }
    EXPECT_EQ(writeFolderTree(parseFolderTree(cases[0].bytes).records), crlf({"A", "\tB", "\t\tC", "\tD", "E"}));
    // Every name stays on one line at its level.
    EXPECT_EQ(writeFolderTree({{.Name = "Top\r\nInjected", .Level = 0}, {.Name = " \tLeading", .Level = 1}}),
              crlf({"Top  Injected", "\tLeading"}));
}

TEST(LinkFile, WritesFiveLinesPerLinkAndReadsThemBackExactly)
{
    const TLinkList links = {{"Title", "https://a.example/x?y=1", "", "2004.3.7"},
                             {"", "", " ", ""},
                             {"Caf\xE9 \xC3\xA9", "addr", "2026.12.5", "2026.1.1"}};
    const Lines descriptions = {"First", "", "Third one"};
    const std::string bytes = writeLinkFile(links, descriptions);
    EXPECT_EQ(bytes, crlf({"0 Title", "1 https://a.example/x?y=1", "2 ", "3 2004.3.7", "4 First", "0 ", "1 ", "2  ",
                           "3 ", "4 ", "0 Caf\xE9 \xC3\xA9", "1 addr", "2 2026.12.5", "3 2026.1.1", "4 Third one"}));
    const auto parse = parseLinkFile(bytes);
    EXPECT_EQ(parse.links, links);
    EXPECT_EQ(parse.descriptions, descriptions);
    // Missing descriptions are written empty, line breaks in a value become blanks.
    EXPECT_EQ(writeLinkFile({{"T\nU", "A", "L", "D"}}, {}), crlf({"0 T U", "1 A", "2 L", "3 D", "4 "}));
}

TEST(LinkFile, ReaderFollowsTheOrderOfLinesAndStopsAtANonDigitCode)
{
    const struct {
        std::string bytes;
        TLinkList links;
        Lines descriptions;
        std::size_t skipped;
        Error error;
    } cases[] = {
        // Columns follow the order of the lines, not their codes: a "3" line first fills the address.
        {"0 T\n3 first\n1 second\n4 D\n", {{"T", "first", "second", ""}}, {"D"}, 0, {}},
        // Empty lines, high codes, values with no row and a fifth value are skipped.
        {"\n7 ignored\n1 no row yet\n0 T\n1 A\n2 L\n3 D\n1 fourth column\n4 desc\n9\n", {{"T", "A", "L", "D"}},
         {"desc"}, 5, {}},
        // The value starts after the separator, whatever it is.
        {"0xTitle\n1\n2  \n3 d\n4 \n", {{"Title", "", " ", "d"}}, {""}, 0, {}},
        {crlf({"0 One", "1 a", "2 ", "3 d", "4 x", "0 Two", "x broken", "1 b"}),
         {{"One", "a", "", "d"}, {"Two", "", "", ""}}, {"x"}, 0, "'x' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const auto parse = parseLinkFile(c.bytes);
        EXPECT_EQ(parse.links, c.links);
        EXPECT_EQ(parse.descriptions, c.descriptions);
        EXPECT_EQ(parse.skippedLines, c.skipped);
        EXPECT_EQ(parse.error, c.error);
    }
}

TEST(FolderNames, CleaningUniqueNamesAndUsableStems)
{
    const std::pair<std::string, std::string> cleaned[] = {
        {" My:Links? ", "MyLinks"}, {"a\\b/c:d*e?f\"g<h>i|j", "abcdefghij"}, {" / ", ""}, {"\tTabbed\t", "Tabbed"}};
    for (const auto& [typed, clean] : cleaned)
        EXPECT_EQ(cleanName(typed), clean) << typed;

    const std::set<std::string> taken = {"a", "a_1", "a_3", "b"};
    const auto isTaken = [&](std::string_view name) { return taken.contains(std::string(name)); };
    EXPECT_EQ(uniqueName("c", isTaken), "c");
    EXPECT_EQ(uniqueName("b", isTaken), "b_1");
    EXPECT_EQ(uniqueName("a", isTaken), "a_2");

    const std::pair<std::string, bool> stems[] = {
        {"Work ", true}, {"..", true}, {"", true}, // "...wnl" is an ordinary file name
        {"../../etc", false}, {"a\tb", false}, {std::string(1, '\0'), false},
        {std::string(kMaxFolderNameBytes, 'x'), true}, {std::string(kMaxFolderNameBytes + 1, 'x'), false}};
    for (const auto& [stem, usable] : stems)
        EXPECT_EQ(isUsableFileStem(stem), usable) << stem.size() << " " << stem;
}

TEST(FolderNames, RepairMakesUnusableNamesSafeUniqueWithoutRegardToCaseAndWholeCharacters)
{
    std::string accents;
    while (accents.size() < 300)
        accents += "\xC3\xA9"; // é
    std::vector<TFolderRecord> records = {{.Name = "ab"}, {.Name = "../a/b"}, {.Name = "???"},
                                          {.Name = std::string(300, 'x')}, {.Name = "Fine"}, {.Name = "A/B"},
                                          {.Name = accents}};
    // Shortened to 8 bytes below the limit, room for a suffix, without splitting an é.
    EXPECT_THAT(repairFolderNames(records),
                ElementsAre(Pair("../a/b", "..ab"), Pair("???", "Folder"),
                            Pair(std::string(300, 'x'), std::string(kMaxFolderNameBytes - 8, 'x')), Pair("A/B", "AB_1"),
                            Pair(accents, accents.substr(0, kMaxFolderNameBytes - 8))));
    EXPECT_EQ(records[0].Name, "ab");
    EXPECT_EQ(records[4].Name, "Fine");
    for (const auto& record : records)
        EXPECT_TRUE(isUsableFileStem(record.Name)) << record.Name;
}

} // namespace
} // namespace velloria
