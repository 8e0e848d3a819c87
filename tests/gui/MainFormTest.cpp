// The panes of the main window: what the tree, the list, the description pane and the status bar
// show, and what the user's clicks in them do.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/QtText.h"
#include "support/LibraryFiles.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStatusBar>

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

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    // A right click in the tree chooses the folder under the pointer, a clicked row is the
    // model's selection, and the description pane follows the focus and gives it back.
    void thePanesFollowTheUsersClicksAndFocus()
    {
        SampleWindow window;
        window.start();
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
        window.start();
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
        window.start();
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
        window.start();
        QCOMPARE(answerer.shown, QStringList({"Velloria: 'x' is not a valid integer value"}));
        QCOMPARE(underneath, QStringLiteral("2 folders, shown yes"));
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Café Central"));
    }

    void noStatusPanelCutsItsTextAndTheLastColumnFillsTheList()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.MainWidth = 1200; });
        window.start();
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
};

} // namespace

VELLORIA_GUI_TEST(MainFormTest)
#include "MainFormTest.moc"
