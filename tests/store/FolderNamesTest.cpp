// Folder names: the cleaning of typed names, the numbered suffix for unique names, and the
// repair of names from a hand-edited tree file that cannot be file names.

#include "store/FolderNames.h"
#include "store/FolderTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

TEST(FolderNames, CleaningRemovesTheNineCharactersThenTrims)
{
    EXPECT_EQ(cleanName(" My:Links? "), "MyLinks");
    EXPECT_EQ(cleanName("a\\b/c:d*e?f\"g<h>i|j"), "abcdefghij");
    EXPECT_EQ(cleanName(" / "), "");
    EXPECT_EQ(cleanName("\tTabbed\t"), "Tabbed");
}

TEST(FolderNames, UniqueNameTakesTheFirstFreeNumber)
{
    std::set<std::string> taken = {"a", "a_1", "a_3"};
    const auto isTaken = [&](std::string_view name) { return taken.contains(std::string(name)); };
    EXPECT_EQ(uniqueName("b", isTaken), "b");
    EXPECT_EQ(uniqueName("a", isTaken), "a_2");
}

TEST(FolderNames, UsableStemsExcludeSeparatorsControlsAndOverlongNames)
{
    EXPECT_TRUE(isUsableFileStem("Work "));
    EXPECT_TRUE(isUsableFileStem(".."));  // "...wnl" is an ordinary file name
    EXPECT_TRUE(isUsableFileStem(""));
    EXPECT_FALSE(isUsableFileStem("../../etc"));
    EXPECT_FALSE(isUsableFileStem("a\tb"));
    EXPECT_FALSE(isUsableFileStem(std::string(1, '\0')));
    EXPECT_TRUE(isUsableFileStem(std::string(kMaxFolderNameBytes, 'x')));
    EXPECT_FALSE(isUsableFileStem(std::string(kMaxFolderNameBytes + 1, 'x')));
}

TEST(FolderNames, RepairMakesUnusableNamesSafeAndUnique)
{
    std::vector<TFolderRecord> records = {
        {.Name = "ab"}, {.Name = "../a/b", .Level = 0}, {.Name = "???", .Level = 0},
        {.Name = std::string(300, 'x'), .Level = 0}, {.Name = "Fine", .Level = 0}};
    const auto repaired = repairFolderNames(records);
    EXPECT_THAT(repaired, ElementsAre(Pair("../a/b", "..ab"), Pair("???", "Folder"),
                                      Pair(std::string(300, 'x'), std::string(kMaxFolderNameBytes - 8, 'x'))));
    EXPECT_EQ(records[0].Name, "ab");
    EXPECT_EQ(records[4].Name, "Fine");
    for (const auto& record : records)
        EXPECT_TRUE(isUsableFileStem(record.Name)) << record.Name;
}

TEST(FolderNames, RepairAvoidsNamesThatDifferOnlyInCase)
{
    std::vector<TFolderRecord> records = {{.Name = "AB"}, {.Name = "a/b"}};
    repairFolderNames(records);
    EXPECT_EQ(records[1].Name, "ab_1");
}

TEST(FolderNames, RepairShortensWithoutSplittingACharacter)
{
    std::string name;
    while (name.size() < 300)
        name += "\xC3\xA9"; // é
    std::vector<TFolderRecord> records = {{.Name = name}};
    repairFolderNames(records);
    EXPECT_LE(records[0].Name.size(), kMaxFolderNameBytes);
    EXPECT_EQ(records[0].Name.size() % 2, 0u);
}

} // namespace
} // namespace velloria
