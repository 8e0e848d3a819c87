#include "base/TextLines.h"

#include <algorithm>

namespace velloria {

namespace {

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    forEachLine(text, [&lines](std::string_view line) { lines.push_back(line); });
    return lines;
}

bool hasCrLfLinesOnly(std::string_view text)
{
    if (!text.empty() && !text.ends_with("\r\n"))
        return false;
    for (std::size_t i = text.find_first_of("\r\n"); i != std::string_view::npos; i = text.find_first_of("\r\n", i + 2))
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n')
            return false;
    return true;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string singleLine(std::string_view value)
{
    std::string result(value);
    std::replace_if(result.begin(), result.end(), isControl, ' ');
    return result;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void LineWriter::appendValue(std::string_view value)
{
    if (std::none_of(value.begin(), value.end(), isControl))
        m_bytes += value;
    else
        m_bytes += singleLine(value);
}

void LineWriter::line(std::string_view text)
{
    appendValue(text);
    m_bytes += "\r\n";
}

void LineWriter::line(std::string_view prefix, std::string_view value)
{
    m_bytes += prefix;
    line(value);
}

} // namespace velloria
