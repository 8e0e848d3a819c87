// The main window: what its panes and status bar show, what the user's clicks and drags in them
// do, and the remembered bounds, columns, panes and colours at the start and at the end.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/QtText.h"
#include "support/LibraryFiles.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace velloria;
using namespace velloria::test;

namespace {

void clickHeader(QTableView& view, int column)
{
    QHeaderView* header = view.horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

QPoint rowCentre(const QTableView& view, int row)
{
    return view.visualRect(view.model()->index(row, 0)).center();
}

// Drags the data over the tree onto the target folder, as the window system delivers a drag,
// and drops it there when the tree takes it. Returns whether the tree took it.
bool dragOnto(SampleWindow& window, const QMimeData& data, const QString& target)
{
    QWidget* viewport = window.folderView()->viewport();
    const QPoint where = window.folderView()->visualRect(window.folderItem(target)).center();
    QDragEnterEvent enter(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
        return false;
    }
    QDropEvent drop(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

QSplitter* splitter(const SampleWindow& window, const char* name)
{
    return window.form.findChild<QSplitter*>(QString::fromLatin1(name));
}

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    // A right click in the tree chooses the folder under the pointer, a clicked row is the
    // model's selection, and the description pane follows the focus and gives it back.
    void thePanesFollowTheUsersClicksAndFocus()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        QCOMPARE(window.currentFolder(), QStringLiteral("Café"));
        QCOMPARE(window.description(), QStringLiteral("Description: Coffee places"));
        const QRect work = window.folderView()->visualRect(window.folderItem("Work"));
        QTest::mousePress(window.folderView()->viewport(), Qt::RightButton, {}, work.center());
        QCOMPARE(window.model.tree().selectedFolder(), std::size_t{3});
        QCOMPARE(window.statusPanel(0), QStringLiteral("Work"));
        QTest::mouseRelease(window.folderView()->viewport(), Qt::RightButton, {}, work.center());

        window.linkView()->setFocus();
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, rowCentre(*window.linkView(), 2));
        QCOMPARE(window.model.selection().selectedRows(), std::vector<std::size_t>{2});
        QCOMPARE(window.description(), QStringLiteral("Description: Team notes"));
        QCOMPARE(window.statusPanel(1), QStringLiteral("Wiki"));
        auto* description = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
        QTest::mouseClick(description->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), window.linkView());
        window.folderView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
        QTest::mouseClick(description->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), window.folderView());
    }

    void aHeaderClickSortsTheListAndADoubleClickOpensALink()
    {
        SampleWindow window;
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        clickHeader(*window.linkView(), 0); // the sorted column again: the other way round
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title -", "Address", "Last Visit", "Add Date"}));
        clickHeader(*window.linkView(), 3);
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title", "Address", "Last Visit", "Add Date +"}));
        QCOMPARE(window.linkModel()->index(2, 0).data().toString(), QStringLiteral("Velloria home"));

        const QPoint wiki = rowCentre(*window.linkView(), 0);
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QTest::mouseDClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://wiki.example/"));
    }

    // A match is marked by its characters, counted in UTF-16 units; a text found nowhere is a
    // warning with one button.
    void aMatchIsMarkedInTheDescriptionAndNoMatchIsAWarning()
    {
        SampleWindow window;
        const std::string tea = "Tea \xF0\x9F\x8D\xB5 and cr\xC3\xA8me";
        window.home.write("Links/Recipes.wnl", linkFile({{tea, "https://tea.example/"}}));
        QVERIFY(window.start());
        QVERIFY(window.model.search().Find("And Cr\xC3\xA8me"));
        const auto* pane = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
        const QList<QTextEdit::ExtraSelection> marks = pane->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("and crème"));
        QCOMPARE(marks[0].cursor.anchor(), 14);
        QCOMPARE(marks[0].format.background().color(), pane->palette().color(QPalette::Active, QPalette::Highlight));
        window.model.tree().selectFolder(3);
        QVERIFY(pane->extraSelections().isEmpty());

        QString buttons;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox& box) {
            buttons = box.buttons().value(0)->text() + (box.icon() == QMessageBox::Warning ? " !" : " ?");
        });
        QVERIFY(!window.model.search().Find("zebra"));
        QCOMPARE(answerer.shown, QStringList({"Velloria: Search text is not found"}));
        QCOMPARE(buttons, QStringLiteral("OK !"));
    }

    void aLoadingErrorAppearsOverWhatWasRead()
    {
        SampleWindow window;
        window.home.write("Links/Caf\xE9.wnl", crlf({"0 Caf\xE9 Central", "x broken"}));
        QString underneath;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox&) {
            underneath = QStringLiteral("%1 folders, shown %2")
                             .arg(window.folderModel()->rowCount())
                             .arg(window.form.isVisible() ? "yes" : "no");
        });
        QVERIFY(window.start());
        QCOMPARE(answerer.shown, QStringList({"Velloria: 'x' is not a valid integer value"}));
        QCOMPARE(underneath, QStringLiteral("2 folders, shown yes"));
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Café Central"));
    }

    void noStatusPanelCutsItsTextAndTheLastColumnFillsTheList()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.MainWidth = 1200; });
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        for (const int width : {1200, 760, 620}) {
            window.form.resize(width, 520);
            QTRY_COMPARE(window.form.statusBar()->width(), window.form.width());
            for (int panel = 0; panel < 4; ++panel) {
                const auto* label = window.form.findChild<QLabel*>(QStringLiteral("MainStatusBarPanel%1").arg(panel));
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                         qPrintable(QStringLiteral("%1 at %2").arg(label->text()).arg(width)));
                QVERIFY(panel < 2 || label->geometry().right() < window.form.statusBar()->width());
            }
            const QHeaderView* header = window.linkView()->horizontalHeader();
            QTRY_COMPARE(header->sectionPosition(3) + header->sectionSize(3),
                         std::max(window.linkView()->viewport()->width(), header->sectionPosition(3) + 90));
        }
        // The preferences keep the last column's own width, not the room it filled.
        QCOMPARE(static_cast<const MainWindowObserver&>(window.form).windowGeometry()->columnWidths[3], 90);
    }

    void aFolderDroppedOntoAnotherBecomesItsFirstChild()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        window.folderView()->expand(window.folderItem("Work"));
        window.folderView()->expand(window.folderItem("Work/Projects"));
        QAbstractItemModel& folders = *window.folderModel();
        const std::unique_ptr<QMimeData> work(folders.mimeData({window.folderItem("Work")}));
        QMimeData foreign; // another program's drag, dressed as a folder
        foreign.setData(folders.mimeTypes().value(0), "4");
        QVERIFY(!dragOnto(window, *work, "Work"));
        QVERIFY(!dragOnto(window, *work, "Work/Projects/Velloria"));
        QVERIFY(!dragOnto(window, foreign, "Main"));

        const std::unique_ptr<QMimeData> archive(folders.mimeData({window.folderItem("Work/Archive")}));
        QVERIFY(dragOnto(window, *archive, "Main/Recipes"));
        QCOMPARE(treeLines(folders), QStringList({"Main", "  Recipes", "    Archive", "  Café", "Work", "  Projects",
                                                  "    Velloria"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Recipes"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main/Recipes")));
        QVERIFY(!(window.linkModel()->flags(window.linkModel()->index(0, 0)) & Qt::ItemIsDragEnabled)); // links stay
    }

    void theRememberedLayoutIsAppliedAndWrittenBack()
    {
        SampleWindow window([](TPreferences& prefs) {
            prefs.TreeBackgroundColor = 0x00F0E0D0;
            prefs.ListFontColor = 0x00336699;
        });
        QVERIFY(window.start());
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

    // Bounds off every screen are centred, a maximized window keeps its normal bounds, and the
    // auto-save timer runs on the remembered interval only when the preferences ask for it.
    void theStartBoundsAndTheAutoSaveTimerFollowThePreferences()
    {
        SampleWindow away([](TPreferences& prefs) { prefs.MainLeft = -5000; });
        QVERIFY(away.start());
        QVERIFY(!away.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->isActive());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(away.form.geometry().center(), area.center());
        QCOMPARE(away.form.size(), QSize(760, 520).boundedTo(area.size()));

        SampleWindow window([](TPreferences& prefs) {
            prefs.MainMaximized = prefs.AutoSave = true;
            prefs.SaveInterval = 3;
        });
        QVERIFY(window.start());
        QCOMPARE(window.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->interval(), 3 * 60000);
        QVERIFY(window.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->isActive());
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.form.isMaximized());
        QCOMPARE(window.form.normalGeometry(), QRect(40, 30, 760, 520));
        QVERIFY(window.form.close());
        for (const char* line : {"024 40", "025 30", "026 520", "027 760", "028 True"})
            QVERIFY2(preferencesHold(window.home, line), line);
    }
};

} // namespace

VELLORIA_GUI_TEST(MainFormTest)
#include "MainFormTest.moc"
