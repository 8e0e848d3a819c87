#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// Calls visit(line) for every line of the text, split at CR LF, a lone CR and a lone LF. A final
// line without a line end counts; the empty rest after a final line end does not. The views
// point into the text.
template <typename Visit> void forEachLine(std::string_view text, Visit&& visit)
{
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    while (start < end) {
        const char* stop = start;
        while (stop < end && *stop != '\n' && *stop != '\r')
            ++stop;
        visit(std::string_view(start, static_cast<std::size_t>(stop - start)));
        if (stop + 1 < end && stop[0] == '\r' && stop[1] == '\n')
            ++stop;
        start = stop + 1;
    }
}

// The lines of the text as forEachLine finds them.
std::vector<std::string_view> splitLines(std::string_view text);

// True when every line of the text ends with CR LF and no other line end occurs, so that
// rewriting it line by line with CR LF would give the same bytes.
bool hasCrLfLinesOnly(std::string_view text);

// The text without leading and trailing blanks and control characters.
std::string_view trimmed(std::string_view text);

// The value as one line: CR, LF and the other control characters become blanks, so that no
// value written to a library file can break its line structure.
std::string singleLine(std::string_view value);

// True when the texts are equal with only A-Z and a-z taken as the same letter ("True", "TRUE").
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Builds the bytes of a text file: every line ends with CR LF. Values are kept to one line.
class LineWriter {
public:
    void line(std::string_view text);
    void line(std::string_view prefix, std::string_view value);
    const std::string& bytes() const { return m_bytes; }
    std::string take() { return std::move(m_bytes); }

private:
    void appendValue(std::string_view value);
    std::string m_bytes;
};

} // namespace velloria
