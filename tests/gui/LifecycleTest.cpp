// The main window's life: the remembered layout at the start, auto-save, the question at close
// and the preferences written at the end.

#include "GuiTests.h"
#include "SampleLibrary.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>

using namespace velloria;
using namespace velloria::test;

Q_DECLARE_METATYPE(velloria::Answer)

namespace {

QList<int> columnWidths(const QTableView& view)
{
    QList<int> widths;
    for (int column = 0; column < 4; ++column)
        widths << view.horizontalHeader()->sectionSize(column);
    return widths;
}

QSplitter* splitter(const SampleWindow& window, const char* name)
{
    return window.form.findChild<QSplitter*>(QString::fromLatin1(name));
}

bool holds(const std::string& preferences, const std::string& line)
{
    return preferences.find("\r\n" + line + "\r\n") != std::string::npos;
}

const std::string kSavedWork = crlf({"0 Velloria home", "1 https://velloria.example/", "2 2024.5.1", "3 2023.1.2",
                                     "4 Where it all starts", "0 Mail", "1 https://mail.example/", "2 ",
                                     "3 2022.7.8", "4 Daily", "0 Wiki", "1 https://wiki.example/", "2 2024.6.1",
                                     "3 2021.3.4", "4 Team notes"});

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void theRememberedLayoutIsAppliedAndWrittenBack()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) {
            prefs.TreeBackgroundColor = 0x00F0E0D0;
            prefs.ListFontColor = 0x00336699;
        });
        window.start();
        QVERIFY(showActive(window.form));
        QCOMPARE(window.form.geometry(), QRect(40, 30, 760, 520));
        QCOMPARE(columnWidths(*window.linkView()), QList<int>({150, 260, 90, 90}));
        QCOMPARE(splitter(window, "splMain")->sizes().value(0), 210);
        QCOMPARE(splitter(window, "splList")->sizes().value(1), 80);

        const QPalette tree = window.folderView()->palette();
        QCOMPARE(tree.color(QPalette::Base), QColor(0xD0, 0xE0, 0xF0));
        QCOMPARE(tree.color(QPalette::Text), QApplication::palette(window.folderView()).color(QPalette::Text));
        const QPalette list = window.linkView()->palette();
        QCOMPARE(list.color(QPalette::Base), QApplication::palette(window.linkView()).color(QPalette::Base));
        QCOMPARE(list.color(QPalette::Text), QColor(0x99, 0x66, 0x33));
        // The default highlight of a menu item: $EFD3C6 in the file's blue-green-red order.
        QVERIFY(window.form.menuBar()->styleSheet().contains(QStringLiteral("#c6d3ef")));

        window.linkView()->horizontalHeader()->resizeSection(1, 333);
        window.form.resize(700, 500);
        QTRY_COMPARE(window.form.width(), 700);
        QVERIFY(window.form.close());
        const std::string written = readPreferences(window.home);
        for (const char* line : {"024 40", "025 30", "026 500", "027 700", "028 False", "031 150", "032 333",
                                 "033 90", "034 90", "035 210", "036 80", "038 True", "039 True", "040 0"})
            QVERIFY2(holds(written, line), line);
    }

    void boundsOffEveryScreenAreCentred()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) {
            prefs.MainLeft = -5000;
            prefs.MainTop = -4000;
        });
        window.start();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(window.form.geometry().center(), area.center());
        QCOMPARE(window.form.size(), QSize(760, 520).boundedTo(area.size()));
    }

    void aMaximizedWindowKeepsItsNormalBounds()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.MainMaximized = true; });
        window.start();
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.form.isMaximized());
        QCOMPARE(window.form.normalGeometry(), QRect(40, 30, 760, 520));
        QVERIFY(window.form.close());
        const std::string written = readPreferences(window.home);
        for (const char* line : {"024 40", "025 30", "026 520", "027 760", "028 True", "035 210"})
            QVERIFY2(holds(written, line), line);
    }

    void autoSaveRunsOnTheRememberedInterval()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) {
            prefs.AutoSave = true;
            prefs.SaveInterval = 3;
        });
        window.start();
        const auto* timer = window.form.findChild<QTimer*>(QStringLiteral("MainTimer"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 3 * 60000);

        SampleWindow without;
        without.start();
        QVERIFY(!without.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->isActive());
    }

    void closingWithChangesAsksWhatToDo_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Yes saves") << Answer::Yes << true;
        QTest::newRow("No goes back to the last save") << Answer::No << true;
        QTest::newRow("Cancel keeps the window") << Answer::Cancel << false;
    }

    void closingWithChangesAsksWhatToDo()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, closed);
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.model.execute(Command::ViewReversedOrder); // rewrites Links/Work.wnl
        window.model.lifecycle().libraryChanged();
        const std::string reversed = window.home.read("Links/Work.wnl");
        QVERIFY(reversed.starts_with("0 Wiki\r\n"));

        window.form.answer = answer;
        QCOMPARE(window.form.close(), closed);
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QCOMPARE(window.form.isVisible(), !closed);
        switch (answer) {
        case Answer::Yes:
            QCOMPARE(window.home.read("Links/Work.~wnl"), reversed);
            QCOMPARE(window.home.read("Links/Work.wnl"), reversed);
            QCOMPARE(window.home.read("folders.~wnf"), window.home.read("folders.wnf"));
            QCOMPARE(window.home.read("Links/Archive.~wnl"), window.home.read("Links/Archive.wnl"));
            break;
        case Answer::No:
            QCOMPARE(window.home.read("Links/Work.wnl"), kSavedWork);
            QCOMPARE(window.home.read("Links/Work.~wnl"), kSavedWork);
            break;
        case Answer::Cancel:
            QCOMPARE(window.home.read("Links/Work.wnl"), reversed);
            QCOMPARE(window.home.read("Links/Work.~wnl"), kSavedWork);
            QVERIFY(window.action("FileSave")->isEnabled());
            break;
        }
    }
};

} // namespace

int runLifecycleTests(int argc, char** argv)
{
    LifecycleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LifecycleTest.moc"
