#include "gui/QtColor.h"

#include <array>

namespace velloria {

namespace {

struct SystemColour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr QPalette::ColorGroup Active = QPalette::Active;

// The system colour numbers in order (scroll bar, desktop, active caption, ...), each with the
// palette role that plays its part on a Qt desktop.
constexpr std::array<SystemColour, 31> kSystemColours = {{
    {Active, QPalette::Button},          // 0 scroll bar
    {Active, QPalette::Dark},            // 1 desktop
    {Active, QPalette::Highlight},       // 2 active caption
    {Active, QPalette::Mid},             // 3 inactive caption
    {Active, QPalette::Window},          // 4 menu
    {Active, QPalette::Base},            // 5 window
    {Active, QPalette::Shadow},          // 6 window frame
    {Active, QPalette::WindowText},      // 7 menu text
    {Active, QPalette::Text},            // 8 window text
    {Active, QPalette::HighlightedText}, // 9 caption text
    {Active, QPalette::Window},          // 10 active border
    {Active, QPalette::Window},          // 11 inactive border
    {Active, QPalette::Dark},            // 12 application workspace
    {Active, QPalette::Highlight},       // 13 highlight
    {Active, QPalette::HighlightedText}, // 14 highlight text
    {Active, QPalette::Button},          // 15 button face
    {Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text}, // 17 grey text
    {Active, QPalette::ButtonText},      // 18 button text
    {Active, QPalette::WindowText},      // 19 inactive caption text
    {Active, QPalette::Light},           // 20 button highlight
    {Active, QPalette::Shadow},          // 21 3D dark shadow
    {Active, QPalette::Midlight},        // 22 3D light
    {Active, QPalette::ToolTipText},     // 23 info text
    {Active, QPalette::ToolTipBase},     // 24 info background
    {Active, QPalette::Window},          // 25 (unused)
    {Active, QPalette::Link},            // 26 hot light
    {Active, QPalette::Highlight},       // 27 gradient of the active caption
    {Active, QPalette::Mid},             // 28 gradient of the inactive caption
    {Active, QPalette::Highlight},       // 29 menu highlight
    {Active, QPalette::Window},          // 30 menu bar
}};

} // namespace

QColor toQColor(TColor colour, const QPalette& palette)
{
    const auto bits = static_cast<std::uint32_t>(colour);
    if (colour < 0) {
        const std::uint32_t number = bits & 0xFFu;
        const SystemColour system = number < kSystemColours.size() ? kSystemColours[number]
                                                                   : SystemColour{Active, QPalette::Window};
        return palette.color(system.group, system.role);
    }
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

TColor toTColor(const QColor& colour)
{
    return static_cast<TColor>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

} // namespace velloria
