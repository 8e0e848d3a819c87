#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The line syntax shared by the preferences file and the language files: up to three characters
// of entry number, one separator character skipped whatever it is, then the value to the end of
// the line, blanks included.
struct NumberedLine {
    std::size_t lineNumber = 0;      // 1-based, for messages
    std::string_view key;            // the first (up to) three characters
    std::optional<int> number;       // the key as a number; nullopt when it is not one
    std::string_view value;
    bool isComment() const { return key.empty() || key == "///"; }
};

// Every line of the file, comment and empty lines included (isComment tells them).
std::vector<NumberedLine> parseNumberedLines(std::string_view bytes);

// The entry number as the files write it: three digits with leading zeros ("007").
std::string entryNumberText(int number);

// A decimal integer with optional leading blanks and sign that fits 32 bits.
std::optional<int> parseInt32(std::string_view text);

} // namespace velloria
