#pragma once

#include "mainwindow/Commands.h"
#include "settings/UIText.h"

#include <array>
#include <string>
#include <string_view>

namespace velloria {

// The main window's texts around its commands, in the language loaded: each command's caption
// and hint, the menus' captions and the link list's column headers.
class CommandTexts {
public:
    explicit CommandTexts(const UIText& texts) : m_texts(texts) {}

    const std::string& caption(Command command) const { return m_captions[indexOf(command)]; }
    const std::string& hint(Command command) const { return m_hints[indexOf(command)]; }
    std::string menuCaption(std::string_view menuName) const;
    const std::string& columnCaption(int column) const { return m_columnCaptions[static_cast<std::size_t>(column)]; }

    // Takes the captions and hints from the table, English where it has none.
    void takeCommandTexts();
    // Takes the column headers from the table; the sort mode's column shows the direction.
    void takeColumnCaptions(int sortMode, bool reversedOrder);

private:
    const UIText& m_texts;
    std::array<std::string, kCommandCount> m_captions;
    std::array<std::string, kCommandCount> m_hints;
    std::array<std::string, 4> m_columnCaptions;
};

} // namespace velloria
