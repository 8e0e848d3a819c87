#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace velloria {

inline constexpr std::size_t kStatusPanelCount = 5;

// The panels of the main window's status bar: the folder shown, the selected link's title, the
// counts of subfolders and links, and an empty last panel; their texts and minimum widths.
class StatusPanels {
public:
    std::string& operator[](std::size_t panel) { return m_texts[panel]; }
    const std::string& text(std::size_t panel) const { return m_texts[panel]; }
    int width(std::size_t panel) const { return m_widths[panel]; }
    // The title panel takes the room of a bar wider than 600 pixels.
    void fitTo(int barWidth);
    // The widths to show the panels with in a bar of the given width, when their texts need the
    // given widths: no count is ever cut.
    std::array<int, kStatusPanelCount> fittedWidths(const std::array<int, kStatusPanelCount>& textWidths,
                                                    int barWidth) const;

private:
    std::array<std::string, kStatusPanelCount> m_texts;
    std::array<int, kStatusPanelCount> m_widths{200, 200, 100, 100, 50};
};

} // namespace velloria
