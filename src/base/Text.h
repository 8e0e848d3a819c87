#pragma once

#include <string>
#include <string_view>

namespace velloria {

// Library texts are bytes. They are shown, searched and compared as text by one rule:
// bytes that form valid UTF-8 are UTF-8; anything else was written by an older program
// in Windows-1252 and is decoded as that.

bool isValidUtf8(std::string_view bytes);

// Appends a Unicode code point as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

// The bytes as UTF-8 text: unchanged when valid UTF-8, otherwise decoded as Windows-1252.
std::string toUtf8(std::string_view bytes);

// The UTF-8 text with its case folded (Unicode full case folding, so "ß" and "SS" fold alike),
// for comparisons that do not regard case. Takes library bytes (decoded as above).
std::string foldCase(std::string_view bytes);

// Appends the text folded as foldCase folds it and with its accents and other combining marks
// left out ("É" and "e" fold alike), for matching that regards neither case nor accents. Takes
// library bytes (decoded as above).
void appendFoldedPlain(std::string& out, std::string_view bytes);

// True when the two texts are equal without regard to case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace velloria
