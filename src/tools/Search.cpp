#include "tools/Search.h"

#include "base/Text.h"

#include <utf8proc.h>

#include <algorithm>
#include <vector>

namespace velloria {

namespace {

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text folded one character at a time, with the offset in the folded text at which each
// character's folding starts (one more entry for the end).
struct FoldedCharacters {
    std::string folded;
    std::vector<std::size_t> starts;
};

void appendFolded(std::string& out, utf8proc_int32_t codePoint)
{
    utf8proc_int32_t buffer[8];
    utf8proc_int32_t boundary = 0;
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD);
    utf8proc_ssize_t count = utf8proc_decompose_char(codePoint, buffer, 8, options, &boundary);
    if (count < 0 || count > 8) {
        buffer[0] = codePoint;
        count = 1;
    }
    for (utf8proc_ssize_t i = 0; i < count; ++i) {
        utf8proc_uint8_t bytes[4];
        const utf8proc_ssize_t n = utf8proc_encode_char(buffer[i], bytes);
        out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    }
}

FoldedCharacters foldCharacters(std::string_view bytes)
{
    const std::string text = toUtf8(bytes);
    FoldedCharacters result;
    result.folded.reserve(text.size());
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    auto left = static_cast<utf8proc_ssize_t>(text.size());
    while (left > 0) {
        utf8proc_int32_t codePoint = 0;
        utf8proc_ssize_t n = utf8proc_iterate(p, left, &codePoint);
        if (n <= 0) {
            codePoint = 0xFFFD;
            n = 1;
        }
        result.starts.push_back(result.folded.size());
        appendFolded(result.folded, codePoint);
        p += n;
        left -= n;
    }
    result.starts.push_back(result.folded.size());
    return result;
}

std::optional<SearchText::Match> findAscii(std::string_view field, std::string_view needle, std::size_t from)
{
    if (from == 0 || from - 1 + needle.size() > field.size())
        return std::nullopt;
    const auto start = field.begin() + static_cast<std::ptrdiff_t>(from - 1);
    const auto found = std::search(start, field.end(), needle.begin(), needle.end(),
                                   [](char a, char b) { return lowerAscii(a) == b; });
    if (found == field.end())
        return std::nullopt;
    return SearchText::Match{static_cast<std::size_t>(found - field.begin()) + 1, needle.size()};
}

// The ASCII letters that the few characters folding to ASCII fold to (ß to "ss", the Kelvin sign
// to "k", the ligatures "ﬁ" and the like), or nullptr for any other character starting at i.
// Their other parts (combining marks) are left out: the result only ever finds more.
const char* asciiFoldingAt(std::string_view bytes, std::size_t i, std::size_t& length)
{
    const auto at = [&](std::size_t k) { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u; };
    const unsigned b = at(i);
    const unsigned next = at(i + 1);
    const unsigned third = at(i + 2);
    length = 2;
    if (b == 0xC3 && next == 0x9F)
        return "ss";
    if (b == 0xC4 && next == 0xB0)
        return "i";
    if (b == 0xC5 && next == 0x89)
        return "n";
    if (b == 0xC5 && next == 0xBF)
        return "s";
    if (b == 0xC7 && next == 0xB0)
        return "j";
    length = 3;
    static constexpr const char* kLatinExtended[] = {"h", "t", "w", "y", "a"};
    if (b == 0xE1 && next == 0xBA && third >= 0x96 && third <= 0x9A)
        return kLatinExtended[third - 0x96];
    if (b == 0xE1 && next == 0xBA && third == 0x9E)
        return "ss";
    if (b == 0xE2 && next == 0x84 && third == 0xAA)
        return "k";
    static constexpr const char* kLigatures[] = {"ff", "fi", "fl", "ffi", "ffl", "st", "st"};
    if (b == 0xEF && next == 0xAC && third >= 0x80 && third <= 0x86)
        return kLigatures[third - 0x80];
    length = 1;
    if (b == 0xDF) // ß in Windows-1252
        return "ss";
    return nullptr;
}

// The bytes with those characters put as their ASCII letters; other bytes stay as they are.
std::string withAsciiFoldings(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size() + 16);
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 1;
        const char* letters = static_cast<unsigned char>(bytes[i]) >= 0x80 ? asciiFoldingAt(bytes, i, length) : nullptr;
        if (letters) {
            result += letters;
            i += length;
        } else {
            result += bytes[i++];
        }
    }
    return result;
}

} // namespace

SearchText::SearchText(std::string_view text) : m_text(text)
{
    m_ascii = isAscii(text);
    if (m_ascii)
        std::transform(m_text.begin(), m_text.end(), std::back_inserter(m_folded), lowerAscii);
    else
        m_folded = foldCharacters(text).folded;
}

std::optional<SearchText::Match> SearchText::findIn(std::string_view field, std::size_t from) const
{
    if (m_folded.empty())
        return std::nullopt;
    if (m_ascii && isAscii(field))
        return findAscii(field, m_folded, from);
    // A match must begin and end where characters begin, so that it covers whole characters.
    const FoldedCharacters characters = foldCharacters(field);
    if (from == 0 || from > characters.starts.size())
        return std::nullopt;
    std::size_t offset = characters.starts[from - 1];
    while ((offset = characters.folded.find(m_folded, offset)) != std::string::npos) {
        const auto first = std::lower_bound(characters.starts.begin(), characters.starts.end(), offset);
        const auto last = std::lower_bound(first, characters.starts.end(), offset + m_folded.size());
        if (*first == offset && last != characters.starts.end() && *last == offset + m_folded.size())
            return Match{static_cast<std::size_t>(first - characters.starts.begin()) + 1,
                         static_cast<std::size_t>(last - first)};
        ++offset;
    }
    return std::nullopt;
}

bool SearchText::mayOccurIn(std::string_view bytes) const
{
    // An ASCII text can only match where its letters stand as ASCII in the bytes, or come from
    // one of the few characters that fold to ASCII letters.
    if (!m_ascii)
        return true;
    if (findAscii(bytes, m_folded, 1))
        return true;
    if (isAscii(bytes))
        return false;
    return findAscii(withAsciiFoldings(bytes), m_folded, 1).has_value();
}

std::size_t characterCount(std::string_view bytes)
{
    if (isAscii(bytes))
        return bytes.size();
    return foldCharacters(bytes).starts.size() - 1;
}

} // namespace velloria
