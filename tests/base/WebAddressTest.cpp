// What counts as a scheme at the start of an address, and what as a web address.

#include "base/WebAddress.h"

#include <gtest/gtest.h>

namespace velloria {
namespace {

TEST(WebAddress, SchemesAndWebAddresses)
{
    struct Case {
        const char* address;
        bool scheme;
        bool web;
    };
    const Case cases[] = {
        {"http://a.example/", true, true},
        {"HTTPS://A.example/x?y=1", true, true},
        {"https://", true, false}, // nothing after the prefix
        {"ftp://files.example/x", true, false},
        {"svn+ssh://host.example/repo", true, false},
        {"file:///home/me/page.html", true, false},
        {"mailto:me@example.org", true, false},
        {"about:blank", true, false},
        {"tel:5551234", true, false},             // a known scheme, though it looks like a port
        {"mailto:12345", true, false},
        {"place:sort=8&maxResults=10", true, false},
        {"javascript:void(0)", true, false},
        {"www.example.org", false, true},
        {"WWW.example.org/a:b", false, true},
        {"www.", false, false},
        {"www.example.com:8080", false, true},    // a host with a port
        {"localhost:8080", false, false},
        {"localhost:8080/x", false, false},
        {"example.com/page", false, false},
        {"httpd.example.org", false, false},
        {"httpx://a", true, false},
        {"http:a.example", true, false},
        {" https://a.example/", false, false},    // the blank is not taken off
        {"1up://a", false, false},
        {"a b:c", false, false},
        {":x", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasScheme(c.address), c.scheme) << c.address;
        EXPECT_EQ(isWebAddress(c.address), c.web) << c.address;
    }
}

} // namespace
} // namespace velloria
