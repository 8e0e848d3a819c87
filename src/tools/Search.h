#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velloria {

// The text a search looks for, folded once. Matching ignores case with full Unicode case
// folding, on the text as shown (UTF-8, or Windows-1252 for older files), and positions count
// characters, not bytes, so that a match can be marked exactly in the text shown.
class SearchText {
public:
    explicit SearchText(std::string_view text);
    bool empty() const { return m_folded.empty(); }
    const std::string& text() const { return m_text; }

    struct Match {
        std::size_t position = 0; // 1-based, in characters of the field
        std::size_t length = 0;   // in characters of the field
    };
    // The first occurrence in the field at or after the 1-based character position from.
    std::optional<Match> findIn(std::string_view field, std::size_t from = 1) const;
    // False only when no field of the text can hold a match: a quick look at a whole file
    // before it is read row by row.
    bool mayOccurIn(std::string_view bytes) const;

private:
    std::string m_text;
    std::string m_folded;
    bool m_ascii = true;
};

// The number of characters of library text (UTF-8, or Windows-1252 for older files).
std::size_t characterCount(std::string_view bytes);

} // namespace velloria
