#include "settings/NumberedLines.h"

#include "base/TextLines.h"

#include <charconv>
#include <cstdint>

namespace velloria {

std::string entryNumberText(int number)
{
    std::string text = std::to_string(number);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), '0');
    return text;
}

std::optional<int> parseInt32(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<NumberedLine> parseNumberedLines(std::string_view bytes)
{
    std::vector<NumberedLine> result;
    std::size_t lineNumber = 0;
    for (std::string_view line : splitLines(bytes)) {
        NumberedLine entry;
        entry.lineNumber = ++lineNumber;
        entry.key = line.substr(0, 3);
        entry.value = line.size() > 4 ? line.substr(4) : std::string_view();
        if (!entry.isComment())
            entry.number = parseInt32(entry.key);
        result.push_back(entry);
    }
    return result;
}

} // namespace velloria
