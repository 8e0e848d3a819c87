// The library file formats by their bytes: what each reader makes of a file and what each
// writer puts into one.

#include "base/TextLines.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderTreeFile.h"
#include "store/LinkFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace velloria {
namespace {

using test::crlf;
using Lines = std::vector<std::string>;
using Error = std::optional<std::string>;

TEST(TextLines, SplitsAtEveryKindOfLineEndAndTellsTextInCrLfLines)
{
    const struct {
        std::string_view bytes;
        Lines lines;
        bool crlfOnly;
    } cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}, false}, {"a\r\n\r\nb\r\n", {"a", "", "b"}, true},
        {"a\n\rb", {"a", "", "b"}, false}, // LF then a lone CR: two line ends
        {"", {}, true}, {"\r\n", {""}, true}, {"last", {"last"}, false}, {"a\r\nb", {"a", "b"}, false},
        {"a\nb\r\n", {"a", "b"}, false}, {"a\rb\r\n", {"a", "b"}, false}, {"a\r\r\n", {"a", ""}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        Lines lines;
        for (std::string_view line : splitLines(c.bytes))
            lines.emplace_back(line);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(hasCrLfLinesOnly(c.bytes), c.crlfOnly);
    }
}

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
        // Title, address and description only: the row lacks the two dates.
        {"0 T\n1 A\n4 D\n", {{"T", "A", "", ""}}, {"D"}, 0, {}},
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

TEST(FolderDescriptionFile, LastPairWinsAndAnUnpairedNameIsEmpty)
{
    const std::string bytes = crlf({"A", "first", "B", "bee", "A", "second", "C"});
    EXPECT_EQ(findFolderDescription(bytes, "A"), "second");
    EXPECT_EQ(findFolderDescription(bytes, "C"), "");
    EXPECT_EQ(findFolderDescription(bytes, "a"), std::nullopt);   // case counts
    EXPECT_EQ(findFolderDescription(bytes, "bee"), std::nullopt); // descriptions are not names
    EXPECT_EQ(lastFolderDescriptions(bytes),
              (std::unordered_map<std::string, std::string>{{"A", "second"}, {"B", "bee"}, {"C", ""}}));
    EXPECT_EQ(writeFolderDescriptions(parseFolderDescriptions(bytes)), bytes + "\r\n");
}

} // namespace
} // namespace velloria
