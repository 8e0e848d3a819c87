// The panes of the main window: what the tree, the list, the description pane and the status bar
// show, and what the user's clicks in them do.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/QtText.h"

#include <QAction>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolTip>

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
    void showsTheRememberedFolderAndTheOneTheUserChooses()
    {
        SampleWindow window;
        window.start();
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Velloria"));
        QCOMPARE(window.currentFolder(), QStringLiteral("Café"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main")));
        QVERIFY(!window.folderView()->isExpanded(window.folderItem("Work")));
        QCOMPARE(window.statusTexts(), QStringList({"Café", "Café Central", "Folders: 0", "Bookmarks: 1", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Coffee places"));

        window.folderView()->setCurrentIndex(window.folderItem("Work"));
        QCOMPARE(window.model.tree().selectedFolder(), std::size_t{3});
        QCOMPARE(window.selectedTitles(), QStringLiteral("Mail"));
        QCOMPARE(window.statusTexts(), QStringList({"Work", "Mail", "Folders: 2", "Bookmarks: 3", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));

        // Rows the user selects are the model's selection.
        QItemSelection rows;
        rows.select(window.linkModel()->index(0, 0), window.linkModel()->index(0, 3));
        rows.select(window.linkModel()->index(2, 0), window.linkModel()->index(2, 3));
        window.linkView()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        const RowSelection& selection = window.model.selection();
        QVERIFY(selection.isRowSelected(0) && !selection.isRowSelected(1) && selection.isRowSelected(2));
    }

    void focusAndClicksShowTheDescriptionOfTheirPane()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        // A right click in the tree chooses the folder under the pointer.
        const QRect work = window.folderView()->visualRect(window.folderItem("Work"));
        QTest::mousePress(window.folderView()->viewport(), Qt::RightButton, {}, work.center());
        QCOMPARE(window.currentFolder(), QStringLiteral("Work"));
        QCOMPARE(window.statusPanel(0), QStringLiteral("Work"));
        QTest::mouseRelease(window.folderView()->viewport(), Qt::RightButton, {}, work.center());

        window.linkView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Daily"));
        QVERIFY(window.action("EditCopy")->isEnabled());
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, rowCentre(*window.linkView(), 2));
        QCOMPARE(window.description(), QStringLiteral("Description: Team notes"));
        QCOMPARE(window.statusPanel(1), QStringLiteral("Wiki"));
        // The description pane gives the focus back to the pane that had it.
        auto* description = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
        QTest::mouseClick(description->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), window.linkView());

        window.folderView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
        QVERIFY(!window.action("EditCopy")->isEnabled());
        QTest::mouseClick(description->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), window.folderView());

        // An empty list sends the focus back to the tree.
        window.model.tree().selectFolder(1);
        window.linkView()->setFocus();
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
        QVERIFY(window.action("ViewReversedOrder")->isChecked());
        QVERIFY(window.home.read("Links/Work.wnl").starts_with("0 Wiki\r\n"));
        clickHeader(*window.linkView(), 3);
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title", "Address", "Last Visit", "Add Date +"}));
        QVERIFY(window.action("ViewSortByAddDate")->isChecked() && !window.action("ViewReversedOrder")->isChecked());
        QCOMPARE(window.linkModel()->index(2, 0).data().toString(), QStringLiteral("Velloria home"));

        const QPoint wiki = rowCentre(*window.linkView(), 0);
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QTest::mouseDClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://wiki.example/"));
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

    void aFolderNameWiderThanThePaneScrollsSidewaysAndShowsWholeAsATip()
    {
        SampleWindow window;
        const std::string wide = "Articles, papers and talks on the history of typography and printing";
        window.home.write("folders.wnf", crlf({"Main", "\tRecipes", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria",
                                              "\tArchive", wide}));
        window.start();
        QVERIFY(showActive(window.form));
        QTreeView* tree = window.folderView();
        QScrollBar* sideways = tree->horizontalScrollBar();
        QTRY_VERIFY(sideways->maximum() > 0);
        const QModelIndex wideItem = window.folderItem(toQString(wide));
        sideways->setValue(sideways->maximum());
        QVERIFY(tree->visualRect(wideItem).left() + tree->sizeHintForIndex(wideItem).width()
                <= tree->viewport()->width());
        sideways->setValue(0);
        // Only a name that the pane's edge cuts has a tip; the tip is the whole name.
        for (const auto& [path, tip] : {std::pair<QString, QString>{"Work", ""}, {toQString(wide), toQString(wide)}}) {
            const QRect item = tree->visualRect(window.folderItem(path));
            const QPoint where(item.left() + 4, item.center().y());
            QHelpEvent event(QEvent::ToolTip, where, tree->viewport()->mapToGlobal(where));
            QApplication::sendEvent(tree->viewport(), &event);
            QTRY_COMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), tip);
        }
        // The names are measured as they come into view.
        std::string many;
        for (int i = 0; i < 80; ++i)
            many += "Folder " + std::to_string(i) + "\r\n";
        window.home.write("folders.wnf", many + wide + "\r\n");
        window.model.lifecycle().loadLibrary(RestoreFolderStates::No);
        tree->scrollToTop();
        QTRY_COMPARE(sideways->maximum(), 0);
        tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum()); // as the wheel scrolls
        QTRY_VERIFY(sideways->maximum() > 0);
    }
};

} // namespace

VELLORIA_GUI_TEST(MainFormTest)
#include "MainFormTest.moc"
