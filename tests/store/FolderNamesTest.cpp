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
