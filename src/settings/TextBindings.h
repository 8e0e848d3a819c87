#pragma once

#include <string_view>
#include <vector>

namespace velloria {

// Which texts each window takes from the text table when its captions are applied: the window,
// the control or command (by the object name the form gives it), and the text number. A form
// applies its captions by walking its rows; nothing else sets a caption from the table.
enum class TextWindow {
    MainMenuBar,     // the top-level menus, by their object names
    MainCommand,     // the caption of a main window command
    MainCommandHint, // the toolbar hint of a main window command
    MainOther,       // description pane, column headers, tray menu items
    Preferences,
    DeleteConfirmation,
    EditItem,
    NewItem,
    Find,
    Statistics,
    Duplicates,
    CheckLinks,
    Import,
    Export,
    HtmlSettings,
    About,
};

struct TextBinding {
    TextWindow window;
    std::string_view target; // "" stands for the window's own caption
    int text;
};

const std::vector<TextBinding>& textBindings();

// The rows of one window, in table order.
std::vector<TextBinding> textBindings(TextWindow window);

} // namespace velloria
