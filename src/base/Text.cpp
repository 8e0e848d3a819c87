#include "base/Text.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

namespace velloria {

namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F; the five unassigned bytes keep their C1 value.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};


char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view bytes)
{
    for (unsigned char c : bytes)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}


bool isValidUtf8(std::string_view bytes)
{
    if (isAscii(bytes))
        return true;
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(bytes.data());
    auto left = static_cast<utf8proc_ssize_t>(bytes.size());
    while (left > 0) {
        utf8proc_int32_t cp = 0;
        const utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

std::string toUtf8(std::string_view bytes)
{
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0xA0)
            appendUtf8(out, kCp1252High[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

std::string foldCase(std::string_view bytes)
{
    if (isAscii(bytes)) {
        std::string out(bytes);
        std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
        return out;
    }
    const std::string text = toUtf8(bytes);
    utf8proc_uint8_t* folded = nullptr;
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD | UTF8PROC_STABLE | UTF8PROC_COMPOSE);
    const utf8proc_ssize_t n = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                            static_cast<utf8proc_ssize_t>(text.size()), &folded, options);
    if (n < 0)
        return text;
    std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(folded, &std::free);
    return std::string(reinterpret_cast<const char*>(folded), static_cast<std::size_t>(n));
}

void appendFoldedPlain(std::string& out, std::string_view bytes)
{
    if (isAscii(bytes)) {
        const std::size_t start = out.size();
        out.resize(start + bytes.size());
        std::transform(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(start), lowerAscii);
        return;
    }
    // One character at a time: the ASCII ones lowered, the others folded and decomposed by
    // utf8proc with their marks left out (no allocation, as many fields hold a few such).
    const std::string text = isValidUtf8(bytes) ? std::string() : toUtf8(bytes);
    const std::string_view utf8 = text.empty() ? bytes : std::string_view(text);
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD | UTF8PROC_STABLE | UTF8PROC_DECOMPOSE |
                                                        UTF8PROC_STRIPMARK);
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
    auto left = static_cast<utf8proc_ssize_t>(utf8.size());
    while (left > 0) {
        if (*p < 0x80) {
            out += lowerAscii(static_cast<char>(*p));
            ++p;
            --left;
            continue;
        }
        utf8proc_int32_t codePoint = 0;
        utf8proc_ssize_t n = utf8proc_iterate(p, left, &codePoint);
        if (n <= 0) {
            codePoint = 0xFFFD;
            n = 1;
        }
        utf8proc_int32_t parts[16];
        utf8proc_int32_t boundary = 0;
        const utf8proc_ssize_t count = utf8proc_decompose_char(codePoint, parts, 16, options, &boundary);
        for (utf8proc_ssize_t i = 0; i < std::min<utf8proc_ssize_t>(count, 16); ++i)
            appendUtf8(out, static_cast<char32_t>(parts[i]));
        if (count < 0 || count > 16)
            appendUtf8(out, static_cast<char32_t>(codePoint));
        p += n;
        left -= n;
    }
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() == b.size() && a == b)
        return true;
    return foldCase(a) == foldCase(b);
}

} // namespace velloria
