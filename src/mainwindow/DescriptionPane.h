#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace velloria {

// The main window's description pane: its text, and the characters that show a search match.
class DescriptionPane {
public:
    using Highlight = std::pair<std::size_t, std::size_t>; // start (0-based) and count

    const std::string& text() const { return m_text; }
    const std::optional<Highlight>& highlight() const { return m_highlight; }
    // Shows the text without a highlight. The same text again keeps its highlight and returns
    // false: the list taking the focus after a search shows what the search already shows.
    bool show(std::string text)
    {
        if (text == m_text)
            return false;
        showPlain(std::move(text));
        return true;
    }
    void showPlain(std::string text)
    {
        m_text = std::move(text);
        m_highlight.reset();
    }
    void showHighlighted(std::string text, Highlight highlight)
    {
        m_text = std::move(text);
        m_highlight = highlight;
    }

private:
    std::string m_text;
    std::optional<Highlight> m_highlight;
};

} // namespace velloria
