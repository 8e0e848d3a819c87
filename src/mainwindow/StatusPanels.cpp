#include "mainwindow/StatusPanels.h"

#include <algorithm>

namespace velloria {

void StatusPanels::fitTo(int barWidth)
{
    m_widths[1] = barWidth < 601 ? 200 : barWidth - 400;
}

// The panel widths are minimums chosen for a small font. A panel whose text needs more is widened
// to it and the title panel gives up the room; when the bar is still too narrow, the folder name
// gives way before a count does.
std::array<int, kStatusPanelCount> StatusPanels::fittedWidths(const std::array<int, kStatusPanelCount>& textWidths,
                                                              int barWidth) const
{
    std::array<int, kStatusPanelCount> widths = m_widths;
    int widened = 0;
    for (const std::size_t panel : {0u, 2u, 3u}) {
        const int width = std::max(widths[panel], textWidths[panel]);
        widened += width - widths[panel];
        widths[panel] = width;
    }
    const int counts = widths[2] + widths[3];
    widths[1] = std::clamp(std::min(widths[1] - widened, barWidth - widths[0] - counts), 0, widths[1]);
    widths[0] = std::clamp(barWidth - counts - widths[1], 0, widths[0]);
    return widths;
}

} // namespace velloria
