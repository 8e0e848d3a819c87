// The text rule for library bytes: UTF-8 when valid, Windows-1252 otherwise, and case folding.

#include "base/Text.h"

#include <gtest/gtest.h>

namespace velloria {
namespace {

TEST(Text, ValidUtf8IsKeptAndEverythingElseIsWindows1252)
{
    EXPECT_EQ(toUtf8("plain"), "plain");
    EXPECT_EQ(toUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(toUtf8("Caf\xE9"), "Caf\xC3\xA9");                        // é
    EXPECT_EQ(toUtf8("\x80 \x93quoted\x94"), "\xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D"); // € “ ”
    EXPECT_EQ(toUtf8("\x81"), "\xC2\x81");                              // unassigned keeps its value
    EXPECT_FALSE(isValidUtf8("\xC3"));                                  // cut sequence
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));                          // surrogate
    EXPECT_TRUE(isValidUtf8(std::string("a\0b", 3)));
}

TEST(Text, FoldsCaseBeyondAscii)
{
    EXPECT_EQ(foldCase("ABC xyz"), "abc xyz");
    EXPECT_TRUE(equalsIgnoringCase("\xC3\x89mile", "\xC3\xA9mile"));   // Émile, émile
    EXPECT_TRUE(equalsIgnoringCase("Stra\xC3\x9F" "e", "STRASSE"));    // ß folds to ss
    EXPECT_TRUE(equalsIgnoringCase("\xC9mile", "\xC3\xA9mile"));        // Windows-1252 É, UTF-8 é
    EXPECT_TRUE(equalsIgnoringCase("\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1")); // Σοφία
    EXPECT_FALSE(equalsIgnoringCase("a", "b"));
}

} // namespace
} // namespace velloria
