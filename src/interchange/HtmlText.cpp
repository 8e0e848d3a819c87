#include "interchange/HtmlText.h"

#include "base/Text.h"

#include <array>
#include <utility>

namespace velloria {

namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F (ISO-8859-1 files are read as Windows-1252, as
// browsers do); the five unassigned bytes keep their C1 value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Code points of MacRoman bytes 0x80 to 0xFF, for files written by Mac browsers (iCab).
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string decodeSingleByte(std::string_view bytes, HtmlCharset charset)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (charset == HtmlCharset::MacRoman)
            appendUtf8(out, kMacRomanHigh[c - 0x80]);
        else
            appendUtf8(out, c < 0xA0 ? kWindows1252High[c - 0x80] : c);
    }
    return out;
}

// Appends the character of a numeric reference ("#8230", "#x2026") and returns true; false when
// it is not one or names no valid code point.
bool appendNumericReference(std::string& out, std::string_view body)
{
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    const std::size_t first = hex ? 2 : 1;
    if (body.size() <= first)
        return false;
    char32_t cp = 0;
    for (std::size_t i = first; i < body.size(); ++i) {
        const char c = body[i];
        int digit = isDigit(c) ? c - '0' : -1;
        if (hex && digit < 0 && upper(c) >= 'A' && upper(c) <= 'F')
            digit = upper(c) - 'A' + 10;
        if (digit < 0)
            return false;
        cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (cp > 0x10FFFF)
            return false;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    appendUtf8(out, cp);
    return true;
}

// Appends the character of the reference between '&' and ';' and returns true, or returns false
// for an unknown one, which then stays as written.
bool appendReference(std::string& out, std::string_view body)
{
    if (!body.empty() && body[0] == '#')
        return appendNumericReference(out, body);
    static constexpr std::array<std::pair<std::string_view, char>, 6> kNamed = {{
        {"AMP", '&'}, {"LT", '<'}, {"GT", '>'}, {"QUOT", '"'}, {"APOS", '\''}, {"NBSP", ' '}}};
    for (const auto& [name, c] : kNamed) {
        if (equalsAsciiWord(body, name)) {
            out += c;
            return true;
        }
    }
    return false;
}

bool isBreakOrBlank(char c) { return c == ' ' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Every run of blanks that holds a line break, tab or other control character becomes one blank
// (a value never holds a line break); blanks at either end go.
void flattenAndTrim(std::string& s)
{
    std::size_t w = 0;
    for (std::size_t r = 0; r < s.size();) {
        if (!isBreakOrBlank(s[r])) {
            s[w++] = s[r++];
            continue;
        }
        std::size_t end = r;
        bool broken = false;
        for (; end < s.size() && isBreakOrBlank(s[end]); ++end)
            broken = broken || s[end] != ' ';
        if (broken) {
            s[w++] = ' ';
            r = end;
        }
        while (r < end)
            s[w++] = s[r++];
    }
    s.resize(w);
    const std::size_t first = s.find_first_not_of(' ');
    s.erase(0, first == std::string::npos ? s.size() : first);
    s.erase(s.find_last_not_of(' ') + 1);
}

} // namespace

bool equalsAsciiWord(std::string_view text, std::string_view upperWord)
{
    if (text.size() != upperWord.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (upper(text[i]) != upperWord[i])
            return false;
    return true;
}

HtmlCharset htmlCharsetNamed(std::string_view name)
{
    for (std::string_view n : {"WINDOWS-1252", "CP1252", "ISO-8859-1", "ISO8859-1", "LATIN1", "LATIN-1"})
        if (equalsAsciiWord(name, n))
            return HtmlCharset::Windows1252;
    for (std::string_view n : {"X-MAC-SYSTEM", "X-MAC-ROMAN", "MACINTOSH", "MACROMAN", "MAC"})
        if (equalsAsciiWord(name, n))
            return HtmlCharset::MacRoman;
    return HtmlCharset::Utf8;
}

std::optional<HtmlCharset> charsetOfMetaTag(std::string_view tag)
{
    constexpr std::string_view key = "CHARSET=";
    for (std::size_t i = 0; i + key.size() <= tag.size(); ++i) {
        if (!equalsAsciiWord(tag.substr(i, key.size()), key))
            continue;
        std::size_t begin = i + key.size();
        while (begin < tag.size() && (tag[begin] == '"' || tag[begin] == '\'' || tag[begin] == ' '))
            ++begin;
        std::size_t end = begin;
        while (end < tag.size() && (isLetter(tag[end]) || isDigit(tag[end]) || tag[end] == '-' || tag[end] == '_'))
            ++end;
        return htmlCharsetNamed(tag.substr(begin, end - begin));
    }
    return std::nullopt;
}

std::string decodeCharacterReferences(std::string_view text)
{
    constexpr std::size_t kLongestReference = 10; // "#x10FFFF" and "#1114111" fit
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        out.append(text.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
        if (amp == std::string_view::npos)
            break;
        const std::size_t semi = text.substr(amp + 1, kLongestReference).find(';');
        if (semi != std::string_view::npos && appendReference(out, text.substr(amp + 1, semi))) {
            i = amp + semi + 2;
        } else {
            out += '&';
            i = amp + 1;
        }
    }
    return out;
}

// The character set is applied to the raw bytes before references are decoded, so that the
// decoded characters (already UTF-8) are never converted a second time.
std::string htmlTextValue(std::string_view raw, HtmlCharset charset)
{
    std::string text = charset == HtmlCharset::Utf8 ? toUtf8(raw) : decodeSingleByte(raw, charset);
    if (text.find('&') != std::string::npos)
        text = decodeCharacterReferences(text);
    flattenAndTrim(text);
    return text;
}

void appendHtmlEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c; break;
        }
    }
}

} // namespace velloria
