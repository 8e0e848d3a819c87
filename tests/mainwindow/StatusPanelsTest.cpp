// The widths of the status bar's panels.

#include "mainwindow/StatusPanels.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velloria {
namespace {

TEST(StatusPanelsTest, PanelOneTakesTheRoomAbove600Pixels)
{
    const std::pair<int, int> cases[] = {{600, 200}, {601, 201}, {1000, 600}};
    StatusPanels panels;
    for (const auto& [bar, width] : cases) {
        panels.fitTo(bar);
        EXPECT_EQ(panels.width(1), width) << bar;
    }
}

TEST(StatusPanelsTest, PanelsWidenToTheirTextsAndNeverCutACount)
{
    using Widths = std::array<int, kStatusPanelCount>;
    struct Case {
        int bar;
        Widths texts;
        Widths expected;
    };
    const Case cases[] = {
        {1000, {80, 90, 70, 90, 0}, {200, 600, 100, 100, 50}},      // short texts: the panels as they are
        {1200, {80, 90, 150, 170, 0}, {200, 680, 150, 170, 50}},    // wide counts: the title panel gives way
        {1000, {260, 90, 100, 100, 0}, {260, 540, 100, 100, 50}},   // a long folder name too
        {500, {80, 90, 120, 130, 0}, {200, 50, 120, 130, 50}},      // narrow: the counts still fit
        {300, {80, 90, 120, 130, 0}, {50, 0, 120, 130, 50}},        // narrower: the folder name gives way
    };
    StatusPanels panels;
    for (const Case& c : cases) {
        panels.fitTo(c.bar);
        const Widths widths = panels.fittedWidths(c.texts, c.bar);
        EXPECT_EQ(widths, c.expected) << c.bar;
        EXPECT_LE(widths[0] + widths[1] + widths[2] + widths[3], std::max(c.bar, 600)) << c.bar;
    }
}

} // namespace
} // namespace velloria
