// Colours of the preferences on screen: $00BBGGRR values and the system colours of the palette.

#include "GuiTests.h"
#include "gui/QtColor.h"

#include <QTest>

using namespace velloria;

namespace {

QPalette distinctPalette()
{
    QPalette palette;
    int shade = 10;
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                     QPalette::Button, QPalette::ButtonText, QPalette::Highlight,
                                     QPalette::HighlightedText, QPalette::ToolTipBase, QPalette::ToolTipText}) {
        palette.setColor(role, QColor(shade, 255 - shade, 100));
        shade += 20;
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    return palette;
}

constexpr TColor systemColour(int number)
{
    return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(number));
}

class QtColorTest : public QObject {
    Q_OBJECT

private slots:
    void rgbValuesHaveRedInTheLowByte()
    {
        const QPalette palette;
        QCOMPARE(toQColor(0x000000FF, palette), QColor(255, 0, 0));
        QCOMPARE(toQColor(0x00FF8040, palette), QColor(0x40, 0x80, 0xFF));
        QCOMPARE(toQColor(0, palette), QColor(0, 0, 0));
        QCOMPARE(toQColor(13003057, palette), QColor(0x31, 0x69, 0xC6)); // the default menu item frame
        QCOMPARE(toTColor(QColor(0x12, 0x34, 0x56)), 0x00563412);
        for (TColor colour : {0, 0x00FFFFFF, 0x00EFD3C6, 0x00010203})
            QCOMPARE(toTColor(toQColor(colour, palette)), colour);
    }

    void systemColoursTakeThePalettesRoles()
    {
        const QPalette palette = distinctPalette();
        QCOMPARE(systemColour(5), clWindow);
        QCOMPARE(systemColour(8), clWindowText);
        QCOMPARE(toQColor(clWindow, palette), palette.color(QPalette::Base));
        QCOMPARE(toQColor(clWindowText, palette), palette.color(QPalette::Text));
        QCOMPARE(toQColor(systemColour(15), palette), palette.color(QPalette::Button));
        QCOMPARE(toQColor(systemColour(18), palette), palette.color(QPalette::ButtonText));
        QCOMPARE(toQColor(systemColour(13), palette), palette.color(QPalette::Highlight));
        QCOMPARE(toQColor(systemColour(14), palette), palette.color(QPalette::HighlightedText));
        QCOMPARE(toQColor(systemColour(24), palette), palette.color(QPalette::ToolTipBase));
        QCOMPARE(toQColor(systemColour(17), palette), QColor(1, 2, 3));
        // A number no desktop knows still gives a colour of the window, not black.
        QCOMPARE(toQColor(systemColour(200), palette), palette.color(QPalette::Window));
    }
};

} // namespace

VELLORIA_GUI_TEST(QtColorTest)
#include "QtColorTest.moc"
