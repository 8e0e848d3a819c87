// The library file formats by their bytes: what each reader makes of a file and what each
// writer puts into one.

#include "base/TextLines.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderStateFile.h"
#include "store/FolderTreeFile.h"
#include "store/LinkFile.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloria {
namespace {

using test::crlf;
using ::testing::ElementsAre;

// The tree as "level:name" lines, to compare whole trees at a glance.
std::vector<std::string> dump(const std::vector<TFolderRecord>& records)
{
    std::vector<std::string> lines;
    for (const auto& record : records)
        lines.push_back(std::to_string(record.Level) + ":" + record.Name);
    return lines;
}

TEST(TextLines, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_THAT(splitLines("a\r\nb\nc\rd"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(splitLines("a\r\n\r\nb\r\n"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitLines("a\n\rb"), ElementsAre("a", "", "b")); // LF then a lone CR: two line ends
    EXPECT_THAT(splitLines(""), ElementsAre());
    EXPECT_THAT(splitLines("\r\n"), ElementsAre(""));
    EXPECT_THAT(splitLines("last"), ElementsAre("last"));
}

TEST(TextLines, TellsTextThatIsAlreadyInCrLfLines)
{
    EXPECT_TRUE(hasCrLfLinesOnly(""));
    EXPECT_TRUE(hasCrLfLinesOnly("a\r\n\r\nb\r\n"));
    EXPECT_FALSE(hasCrLfLinesOnly("a\r\nb"));
    EXPECT_FALSE(hasCrLfLinesOnly("a\nb\r\n"));
    EXPECT_FALSE(hasCrLfLinesOnly("a\rb\r\n"));
    EXPECT_FALSE(hasCrLfLinesOnly("a\r\r\n"));
}

TEST(FolderTreeFile, ReadsLevelsFromTabsOrBlanksAndWritesTabs)
{
    const auto parse = parseFolderTree("A\n\tB\n  C\r\n\tD\rE");
    EXPECT_FALSE(parse.error);
    EXPECT_THAT(dump(parse.records), ElementsAre("0:A", "1:B", "2:C", "1:D", "0:E"));
    EXPECT_EQ(writeFolderTree(parse.records), crlf({"A", "\tB", "\t\tC", "\tD", "E"}));
}

TEST(FolderTreeFile, PlacesShallowerLinesUnderTheRightAncestor)
{
    const auto parse = parseFolderTree(crlf({"\t\tFirst", "\tUnderFirst", "\t\tDeep", "\t\t\tDeeper", "\tBack", "Top"}));
    EXPECT_FALSE(parse.error);
    EXPECT_THAT(dump(parse.records), ElementsAre("0:First", "1:UnderFirst", "2:Deep", "3:Deeper", "1:Back", "0:Top"));
}

TEST(FolderTreeFile, KeepsTrailingBlanksAndEmptyLinesAsNames)
{
    const auto parse = parseFolderTree(crlf({"Work  ", "", "\tChild"}));
    EXPECT_THAT(dump(parse.records), ElementsAre("0:Work  ", "0:", "1:Child"));
}

TEST(FolderTreeFile, LevelJumpStopsWithTheFoldersReadSoFar)
{
    const auto parse = parseFolderTree(crlf({"A", "\t\tB x", "C"}));
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(*parse.error, "Invalid level (2) for item \"B x\"");
    EXPECT_THAT(dump(parse.records), ElementsAre("0:A"));
}

TEST(FolderTreeFile, WriterKeepsEveryNameOnOneLineAtItsLevel)
{
    const std::vector<TFolderRecord> records = {{.Name = "Top\r\nInjected", .Level = 0},
                                                {.Name = " \tLeading", .Level = 1}};
    const std::string bytes = writeFolderTree(records);
    EXPECT_EQ(bytes, crlf({"Top  Injected", "\tLeading"}));
    EXPECT_THAT(dump(parseFolderTree(bytes).records), ElementsAre("0:Top  Injected", "1:Leading"));
    EXPECT_EQ(writeFolderTree({}), "");
}

TEST(LinkFile, RoundTripsEveryFieldExactly)
{
    const TLinkList links = {{"Title", "https://a.example/x?y=1", "", "2004.3.7"},
                             {"", "", " ", ""},
                             {"Caf\xE9 \xC3\xA9", "addr", "2026.12.5", "2026.1.1"}};
    const std::vector<std::string> descriptions = {"First", "", "Third one"};
    const std::string bytes = writeLinkFile(links, descriptions);
    const std::string first = crlf({"0 Title", "1 https://a.example/x?y=1", "2 ", "3 2004.3.7", "4 First"});
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    const auto parse = parseLinkFile(bytes);
    EXPECT_FALSE(parse.error);
    EXPECT_EQ(parse.links, links);
    EXPECT_EQ(parse.descriptions, descriptions);
    EXPECT_EQ(parse.skippedLines, 0u);
}

TEST(LinkFile, WriterFillsMissingDescriptionsAndFlattensLineBreaks)
{
    EXPECT_EQ(writeLinkFile({{"T\nU", "A", "L", "D"}}, {}), crlf({"0 T U", "1 A", "2 L", "3 D", "4 "}));
    EXPECT_EQ(writeLinkFile({}, {}), "");
}

TEST(LinkFile, ColumnsFollowTheOrderOfLinesNotTheirCodes)
{
    // Title, address and description only: the row lacks the two dates.
    auto parse = parseLinkFile("0 T\n1 A\n4 D\n");
    EXPECT_EQ(parse.links, (TLinkList{{"T", "A", "", ""}}));
    EXPECT_THAT(parse.descriptions, ElementsAre("D"));

    // A "3" line first still fills the address column.
    parse = parseLinkFile("0 T\n3 first\n1 second\n4 D\n");
    EXPECT_EQ(parse.links, (TLinkList{{"T", "first", "second", ""}}));
}

TEST(LinkFile, SkipsEmptyLinesHighCodesAndValuesWithNoRow)
{
    const auto parse = parseLinkFile("\n7 ignored\n1 no row yet\n0 T\n1 A\n2 L\n3 D\n1 fourth column\n4 desc\n9\n");
    EXPECT_FALSE(parse.error);
    EXPECT_EQ(parse.links, (TLinkList{{"T", "A", "L", "D"}}));
    EXPECT_EQ(parse.skippedLines, 5u);
}

TEST(LinkFile, ValueStartsAfterTheSeparatorWhateverItIs)
{
    const auto parse = parseLinkFile("0xTitle\n1\n2  \n3 d\n4 \n");
    EXPECT_EQ(parse.links, (TLinkList{{"Title", "", " ", "d"}}));
    EXPECT_THAT(parse.descriptions, ElementsAre(""));
}

TEST(LinkFile, NonDigitCodeStopsWithTheLinksReadSoFar)
{
    const auto parse = parseLinkFile(crlf({"0 One", "1 a", "2 ", "3 d", "4 x", "0 Two", "x broken", "1 b"}));
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(*parse.error, "'x' is not a valid integer value");
    EXPECT_EQ(parse.links, (TLinkList{{"One", "a", "", "d"}, {"Two", "", "", ""}}));
    EXPECT_THAT(parse.descriptions, ElementsAre("x"));
}

TEST(FolderDescriptionFile, LastPairWinsAndAnUnpairedNameIsEmpty)
{
    const std::string bytes = crlf({"A", "first", "B", "bee", "A", "second", "C"});
    EXPECT_EQ(findFolderDescription(bytes, "A"), "second");
    EXPECT_EQ(findFolderDescription(bytes, "C"), "");
    EXPECT_EQ(findFolderDescription(bytes, "a"), std::nullopt); // case counts
    EXPECT_EQ(findFolderDescription(bytes, "bee"), std::nullopt); // descriptions are not names
    const auto all = lastFolderDescriptions(bytes);
    EXPECT_EQ(all.at("A"), "second");
    EXPECT_EQ(all.at("B"), "bee");
    EXPECT_EQ(writeFolderDescriptions(parseFolderDescriptions(bytes)),
              crlf({"A", "first", "B", "bee", "A", "second", "C", ""}));
}

TEST(FolderStateFile, WritesTriplesInTreeOrder)
{
    const std::vector<TFolderRecord> records = {{.Name = "A", .Level = 0, .Expanded = true},
                                                {.Name = "B", .Level = 1, .Selected = true}};
    EXPECT_EQ(writeFolderStates(records), crlf({"0", "True", "False", "1", "False", "True"}));
}

TEST(FolderStateFile, ReadsTriplesAndStopsAtTheFirstBadLine)
{
    auto parse = parseFolderStates(crlf({"0", "True", "False", "5", "false", "TRUE"}));
    EXPECT_FALSE(parse.error);
    EXPECT_THAT(parse.states, ElementsAre(FolderState{0, true, false}, FolderState{5, false, true}));

    parse = parseFolderStates(crlf({"0", "True", "False", "one", "True", "False"}));
    EXPECT_EQ(parse.error, "'one' is not a valid integer value");
    EXPECT_EQ(parse.states.size(), 1u);

    parse = parseFolderStates(crlf({"0", "Yes", "False"}));
    EXPECT_EQ(parse.error, "'Yes' is not a valid boolean value");

    parse = parseFolderStates(crlf({"0", "True"})); // cut short: the missing line reads as empty
    EXPECT_EQ(parse.error, "'' is not a valid boolean value");
}

} // namespace
} // namespace velloria
