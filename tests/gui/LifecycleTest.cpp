// The main window's life: the remembered bounds, columns, panes and colours at the start and
// written back at the end, bounds off every screen, a maximized window and the auto-save timer.

#include "GuiTests.h"
#include "SampleLibrary.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>

using namespace velloria;
using namespace velloria::test;

namespace {

QSplitter* splitter(const SampleWindow& window, const char* name)
{
    return window.form.findChild<QSplitter*>(QString::fromLatin1(name));
}

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void theRememberedLayoutIsAppliedAndWrittenBack()
    {
        SampleWindow window([](TPreferences& prefs) {
            prefs.TreeBackgroundColor = 0x00F0E0D0;
            prefs.ListFontColor = 0x00336699;
        });
        window.start();
        QVERIFY(showActive(window.form));
        QCOMPARE(window.form.geometry(), QRect(40, 30, 760, 520));
        const QHeaderView* header = window.linkView()->horizontalHeader();
        QCOMPARE(QList<int>({header->sectionSize(0), header->sectionSize(1), header->sectionSize(2),
                             header->sectionSize(3)}),
                 QList<int>({150, 260, 90, 90}));
        QCOMPARE(splitter(window, "splMain")->sizes().value(0), 210);
        QCOMPARE(splitter(window, "splList")->sizes().value(1), 80);
        // Colours in the file's blue-green-red order; the defaults are the desktop's.
        const QPalette tree = window.folderView()->palette();
        QCOMPARE(tree.color(QPalette::Base), QColor(0xD0, 0xE0, 0xF0));
        QCOMPARE(tree.color(QPalette::Text), QApplication::palette(window.folderView()).color(QPalette::Text));
        const QPalette list = window.linkView()->palette();
        QCOMPARE(list.color(QPalette::Base), QApplication::palette(window.linkView()).color(QPalette::Base));
        QCOMPARE(list.color(QPalette::Text), QColor(0x99, 0x66, 0x33));
        QVERIFY(window.form.menuBar()->styleSheet().contains(QStringLiteral("#c6d3ef"))); // $EFD3C6

        window.linkView()->horizontalHeader()->resizeSection(1, 333);
        splitter(window, "splMain")->setSizes({250, 510});
        window.form.resize(700, 500);
        QTRY_COMPARE(window.form.width(), 700);
        QVERIFY(window.form.close());
        for (const char* line : {"024 40", "025 30", "026 500", "027 700", "028 False", "031 150", "032 333",
                                 "033 90", "034 90", "035 250", "036 80"})
            QVERIFY2(preferencesHold(window.home, line), line);
    }

    void boundsOffEveryScreenAreCentredAndMaximizedOnesKept()
    {
        SampleWindow away([](TPreferences& prefs) { prefs.MainLeft = -5000; });
        away.start();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(away.form.geometry().center(), area.center());
        QCOMPARE(away.form.size(), QSize(760, 520).boundedTo(area.size()));

        SampleWindow window([](TPreferences& prefs) { prefs.MainMaximized = true; });
        window.start();
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.form.isMaximized());
        QCOMPARE(window.form.normalGeometry(), QRect(40, 30, 760, 520));
        QVERIFY(window.form.close());
        for (const char* line : {"024 40", "025 30", "026 520", "027 760", "028 True"})
            QVERIFY2(preferencesHold(window.home, line), line);
    }

    void autoSaveRunsOnTheRememberedInterval()
    {
        for (const bool autoSave : {true, false}) {
            SampleWindow window([&](TPreferences& prefs) {
                prefs.AutoSave = autoSave;
                prefs.SaveInterval = 3;
            });
            window.start();
            const auto* timer = window.form.findChild<QTimer*>(QStringLiteral("MainTimer"));
            QCOMPARE(timer->isActive(), autoSave);
            QVERIFY(!autoSave || timer->interval() == 3 * 60000);
        }
    }
};

} // namespace

VELLORIA_GUI_TEST(LifecycleTest)
#include "LifecycleTest.moc"
