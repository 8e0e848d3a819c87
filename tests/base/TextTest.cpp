// The text rule for library bytes (UTF-8 when valid, Windows-1252 otherwise), case folding, and
// what counts as a scheme or a web address at the start of an address.

#include "base/Text.h"
#include "base/WebAddress.h"

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
    EXPECT_FALSE(equalsIgnoringCase("a", "b"));
}

TEST(WebAddress, SchemesAndWebAddresses)
{
    const struct {
        const char* address;
        bool scheme;
        bool web;
    } cases[] = {
        {"http://a.example/", true, true},
        {"HTTPS://A.example/x?y=1", true, true},
        {"https://", true, false}, // nothing after the prefix
        {"svn+ssh://host.example/repo", true, false},
        {"file:///home/me/page.html", true, false},
        {"mailto:12345", true, false},           // a known scheme, not a host with a port
        {"about:blank", true, false},
        {"tel:5551234", true, false},
        {"place:sort=8&maxResults=10", true, false},
        {"javascript:void(0)", true, false},
        {"www.example.org", false, true},
        {"WWW.example.org/a:b", false, true},
        {"www.", false, false},
        {"www.example.com:8080", false, true},    // a host with a port
        {"localhost:8080/x", false, false},
        {"example.com/page", false, false},
        {"httpd.example.org", false, false},
        {"http:a.example", true, false},
        {" https://a.example/", false, false},    // the blank is not taken off
        {"1up://a", false, false},
        {"a b:c", false, false},
        {":x", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hasScheme(c.address), c.scheme) << c.address;
        EXPECT_EQ(isWebAddress(c.address), c.web) << c.address;
    }
}

} // namespace
} // namespace velloria
