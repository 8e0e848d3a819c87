#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// Splits text into lines at CR LF, a lone CR and a lone LF. A final line without a line end
// counts; the empty rest after a final line end does not. The views point into the text.
std::vector<std::string_view> splitLines(std::string_view text);

// The text without leading and trailing blanks and control characters.
std::string_view trimmed(std::string_view text);

// The value as one line: CR, LF and the other control characters become blanks, so that no
// value written to a library file can break its line structure.
std::string singleLine(std::string_view value);

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
