// The panes of the main window: what the tree, the list, the description pane and the status bar
// show, and what the user's clicks and keys in them do.

#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/QtText.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace velloria;
using namespace velloria::test;

namespace {

using Opened = std::vector<std::string>;

QList<int> selectedRows(const QTableView& view)
{
    QList<int> rows;
    for (const QModelIndex& item : view.selectionModel()->selectedRows())
        rows << item.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

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
    void showsTheRememberedFolder()
    {
        SampleWindow window;
        window.start();
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Velloria"));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Café"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main")));
        QVERIFY(!window.folderView()->isExpanded(window.folderItem("Work")));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
        QCOMPARE(window.statusTexts(), QStringList({"Café", "Café Central", "Folders: 0", "Bookmarks: 1", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Coffee places"));
    }

    void choosingAFolderShowsItsLinksInTheRememberedOrder()
    {
        SampleWindow window;
        window.start();
        window.folderView()->setCurrentIndex(window.folderItem("Work"));
        QCOMPARE(window.model.tree().selectedFolder(), std::size_t{3});
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Mail | https://mail.example/ |  | 2022.7.8",
                              "Velloria home | https://velloria.example/ | 2024.5.1 | 2023.1.2",
                              "Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"}));
        QCOMPARE(window.statusTexts(), QStringList({"Work", "Mail", "Folders: 2", "Bookmarks: 3", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
        QCOMPARE(selectedRows(*window.linkView()), QList<int>({0}));
        QCOMPARE(window.linkView()->currentIndex().row(), 0);
        QVERIFY(window.action("ToolsGo")->isEnabled());

        window.folderView()->setCurrentIndex(window.folderItem("Main/Recipes"));
        QCOMPARE(window.linkModel()->rowCount(), 0);
        QCOMPARE(window.statusTexts(), QStringList({"Recipes", "", "Folders: 0", "Bookmarks: 0", ""}));
        QVERIFY(!window.action("ToolsGo")->isEnabled());
    }

    void focusAndClicksShowTheDescriptionOfTheirPane()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.linkView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Daily"));
        QVERIFY(window.action("EditCopy")->isEnabled());

        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, rowCentre(*window.linkView(), 2));
        QCOMPARE(window.model.selection().focusedRow(), std::size_t{2});
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
    }

    void anEmptyListSendsTheFocusBackToTheTree()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(1);
        QVERIFY(showActive(window.form));
        window.folderView()->setFocus();
        window.linkView()->setFocus();
        QCOMPARE(QApplication::focusWidget(), window.folderView());
    }

    void aRightClickInTheTreeChoosesTheFolderUnderThePointer()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        const QRect work = window.folderView()->visualRect(window.folderItem("Work"));
        QTest::mousePress(window.folderView()->viewport(), Qt::RightButton, {}, work.center());
        QCOMPARE(window.model.tree().selectedFolder(), std::size_t{3});
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Work"));
        QCOMPARE(window.statusPanel(0), QStringLiteral("Work"));
        QTest::mouseRelease(window.folderView()->viewport(), Qt::RightButton, {}, work.center());
    }

    void selectionsPassBetweenViewAndModel()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QItemSelection rows;
        rows.select(window.linkModel()->index(0, 0), window.linkModel()->index(0, 3));
        rows.select(window.linkModel()->index(2, 0), window.linkModel()->index(2, 3));
        window.linkView()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        const RowSelection& selection = window.model.selection();
        QVERIFY(selection.isRowSelected(0) && !selection.isRowSelected(1) && selection.isRowSelected(2));

        window.model.list().selectRows({1, 2}, 1);
        QCOMPARE(selectedRows(*window.linkView()), QList<int>({1, 2}));
        QCOMPARE(window.linkView()->currentIndex().row(), 1);

        window.model.tree().selectFolder(0);
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Main"));
        QCOMPARE(window.linkModel()->rowCount(), 0);
        QCOMPARE(selectedRows(*window.linkView()), QList<int>());
    }

    void aHeaderClickSortsTheListAndItsFile()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        QTableView& view = *window.linkView();

        clickHeader(view, 0); // the sorted column again: the other way round
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title -", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Wiki"));
        QVERIFY(window.action("ViewReversedOrder")->isChecked());
        QCOMPARE(window.home.read("Links/Work.wnl"),
                 crlf({"0 Wiki", "1 https://wiki.example/", "2 2024.6.1", "3 2021.3.4", "4 Team notes",
                       "0 Velloria home", "1 https://velloria.example/", "2 2024.5.1", "3 2023.1.2",
                       "4 Where it all starts",
                       "0 Mail", "1 https://mail.example/", "2 ", "3 2022.7.8", "4 Daily"}));

        clickHeader(view, 3);
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title", "Address", "Last Visit", "Add Date +"}));
        QCOMPARE(rowLines(*window.linkModel()).first(),
                 QStringLiteral("Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"));
        QCOMPARE(window.linkModel()->index(2, 0).data().toString(), QStringLiteral("Velloria home"));
        QVERIFY(window.action("ViewSortByAddDate")->isChecked());
        QVERIFY(!window.action("ViewSortByTitle")->isChecked());
        QVERIFY(!window.action("ViewReversedOrder")->isChecked());
        QVERIFY(window.home.read("Links/Work.wnl").starts_with("0 Wiki\r\n"));
    }

    void goOpensTheSelectedLink()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(6);
        window.action("ToolsGo")->trigger();
        QCOMPARE(window.browser.opened, Opened({"http://www.forum.example/board"}));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Old forum | www.forum.example/board | 2024.6.1 | 2019.4.5"}));
    }

    void keysInTheListOpenLinks()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.linkView()->setFocus();

        QTest::keyClick(window.linkView(), Qt::Key_Return);
        QCOMPARE(window.browser.opened, Opened({"new window: about:blank", "https://mail.example/"}));
        window.browser.opened.clear();
        QTest::keyClick(window.linkView(), Qt::Key_Down);
        QTest::keyClick(window.linkView(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.browser.opened, Opened({"https://velloria.example/"}));
        window.browser.opened.clear();
        QTest::keyClick(window.linkView(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(window.browser.opened, Opened({"new window: about:blank", "https://velloria.example/"}));

        // In the tree, Enter opens the selected link of the folder too.
        window.browser.opened.clear();
        window.folderView()->setFocus();
        QTest::keyClick(window.folderView(), Qt::Key_Return);
        QCOMPARE(window.browser.opened.size(), std::size_t{2});
    }

    void aDoubleClickOpensTheLinkInANewWindow()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        const QPoint wiki = rowCentre(*window.linkView(), 2);
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QTest::mouseDClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QCOMPARE(window.browser.opened, Opened({"new window: about:blank", "https://wiki.example/"}));
    }

    void aLoadingErrorAppearsOverWhatWasRead()
    {
        SampleWindow window;
        window.home.write("Links/Caf\xE9.wnl", crlf({"0 Caf\xE9 Central", "x broken"}));
        QString message;
        int foldersShown = -1;
        bool windowShown = false;
        QTimer::singleShot(0, &window.form, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            message = box->windowTitle() + ": " + box->text();
            foldersShown = window.folderModel()->rowCount();
            windowShown = window.form.isVisible();
            box->accept();
        });
        window.start();
        QCOMPARE(message, QStringLiteral("Velloria: 'x' is not a valid integer value"));
        QCOMPARE(foldersShown, 2);
        QVERIFY(windowShown);
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Café Central"));
    }

    void noStatusPanelCutsItsTextAndTheLastColumnFillsTheList()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.MainWidth = 1200; });
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
                if (panel >= 2)
                    QVERIFY(label->geometry().right() < window.form.statusBar()->width());
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
        const QModelIndex wideItem = window.folderItem(QString::fromStdString(wide));
        sideways->setValue(sideways->maximum());
        QVERIFY(tree->visualRect(wideItem).left() + tree->sizeHintForIndex(wideItem).width() <=
                tree->viewport()->width());
        sideways->setValue(0);

        // Only a name that the pane's edge cuts has a tip; the tip is the whole name.
        for (const auto& [path, tip] : {std::pair<QString, QString>{"Work", ""}, {toQString(wide), toQString(wide)},
                                        {"Main/Recipes", ""}}) {
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

    void theDescriptionPaneMarksWhatASearchFound()
    {
        SampleWindow window;
        window.start();
        window.form.highlightDescription(13, 6);
        auto* pane = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
        QCOMPARE(pane->extraSelections().size(), 1);
        QCOMPARE(pane->extraSelections().first().cursor.selectedText(), QStringLiteral("Coffee"));
        window.model.tree().selectFolder(3);
        QVERIFY(pane->extraSelections().isEmpty());
    }
};

} // namespace

int runMainFormTests(int argc, char** argv)
{
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainFormTest.moc"
