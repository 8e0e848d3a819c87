#include "base/WebAddress.h"

#include <array>
#include <cstddef>

namespace velloria {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if (lowerAscii(text[i]) != lowerPrefix[i])
            return false;
    return true;
}

// Schemes whose addresses do not start with "//".
bool isOpaqueScheme(std::string_view scheme)
{
    static constexpr std::array<std::string_view, 10> known = {"about", "mailto", "news", "nntp", "tel",
                                                               "data",  "javascript", "urn", "magnet", "file"};
    for (std::string_view name : known)
        if (scheme.size() == name.size() && startsWithIgnoringCase(scheme, name))
            return true;
    return false;
}

} // namespace

bool hasScheme(std::string_view address)
{
    if (address.empty() || !isAsciiLetter(address[0]))
        return false;
    std::size_t colon = 1;
    bool dotted = false;
    for (; colon < address.size() && address[colon] != ':'; ++colon) {
        const char c = address[colon];
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.')
            return false;
        dotted = dotted || c == '.';
    }
    if (colon == address.size())
        return false;
    const std::string_view rest = address.substr(colon + 1);
    if (rest.starts_with("//") || isOpaqueScheme(address.substr(0, colon)))
        return true;
    // A name with a dot, or a port (digits up to the end or a "/"), makes a host, not a scheme.
    if (dotted)
        return false;
    std::size_t digits = 0;
    while (digits < rest.size() && isAsciiDigit(rest[digits]))
        ++digits;
    return digits == 0 || (digits < rest.size() && rest[digits] != '/');
}

bool isWebAddress(std::string_view address)
{
    for (std::string_view prefix : {"http://", "https://", "www."})
        if (address.size() > prefix.size() && startsWithIgnoringCase(address, prefix))
            return true;
    return false;
}

} // namespace velloria
