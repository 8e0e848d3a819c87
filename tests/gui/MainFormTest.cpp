#include "GuiTests.h"
#include "SampleLibrary.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace velloria;
using namespace velloria::test;

namespace {

QStringList statusTexts(const SampleWindow& window)
{
    QStringList texts;
    for (int panel = 0; panel < static_cast<int>(kStatusPanelCount); ++panel)
        texts << window.statusPanel(panel);
    return texts;
}

QList<int> selectedRows(const QTableView& view)
{
    QList<int> rows;
    for (const QModelIndex& item : view.selectionModel()->selectedRows())
        rows << item.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Focus needs an active window, which the offscreen platform gives once the window is shown.
void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRememberedFolder()
    {
        SampleWindow window;
        window.load();
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Velloria"));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Café"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main")));
        QVERIFY(!window.folderView()->isExpanded(window.folderItem("Work")));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
        QCOMPARE(statusTexts(window), QStringList({"Café", "Café Central", "Folders: 0", "Bookmarks: 1", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Coffee places"));
    }

    void choosingAFolderShowsItsLinks()
    {
        SampleWindow window;
        window.load();
        window.folderView()->setCurrentIndex(window.folderItem("Work"));
        QCOMPARE(window.model.selectedFolder(), std::size_t{3});
        QCOMPARE(window.linkModel()->rowCount(), 3);
        QCOMPARE(window.linkModel()->index(2, 0).data().toString(), QStringLiteral("Wiki"));
        QCOMPARE(statusTexts(window), QStringList({"Work", "Velloria home", "Folders: 2", "Bookmarks: 3", ""}));
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
        QCOMPARE(selectedRows(*window.linkView()), QList<int>({0}));
        QCOMPARE(window.linkView()->currentIndex().row(), 0);
    }

    void theFocusedLinkShowsItsDescription()
    {
        SampleWindow window;
        window.load();
        window.model.selectFolder(3);
        showActive(window.form);
        window.linkView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Where it all starts"));

        const QModelIndex wiki = window.linkModel()->index(2, 0);
        window.linkView()->selectionModel()->setCurrentIndex(
            wiki, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(window.model.focusedRow(), std::size_t{2});
        QCOMPARE(window.description(), QStringLiteral("Description: Team notes"));
        QCOMPARE(window.statusPanel(1), QStringLiteral("Wiki"));

        window.folderView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
    }

    void selectionsPassBetweenViewAndModel()
    {
        SampleWindow window;
        window.load();
        window.model.selectFolder(3);
        QItemSelection rows;
        rows.select(window.linkModel()->index(0, 0), window.linkModel()->index(0, 3));
        rows.select(window.linkModel()->index(2, 0), window.linkModel()->index(2, 3));
        window.linkView()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        QVERIFY(window.model.isRowSelected(0) && !window.model.isRowSelected(1) && window.model.isRowSelected(2));

        window.model.selectRows({1, 2}, 1);
        QCOMPARE(selectedRows(*window.linkView()), QList<int>({1, 2}));
        QCOMPARE(window.linkView()->currentIndex().row(), 1);

        window.model.selectFolder(0);
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Main"));
        QCOMPARE(window.linkModel()->rowCount(), 0);
        QCOMPARE(selectedRows(*window.linkView()), QList<int>());
    }

    void expandedFoldersAreRememberedAtClose()
    {
        SampleWindow window;
        window.load();
        window.folderView()->expand(window.folderItem("Work"));
        window.folderView()->collapse(window.folderItem("Main"));
        QVERIFY(window.model.folderTree()[3].Expanded);
        QVERIFY(!window.model.folderTree()[0].Expanded);
        window.form.close();
        QCOMPARE(window.home.read("foldst.wnf"),
                 crlf({"0", "False", "False", "1", "False", "False", "2", "False", "True", "3", "True", "False",
                       "4", "False", "False", "5", "False", "False", "6", "False", "False"}));
    }

    void aLoadingErrorAppearsOverWhatWasRead()
    {
        SampleWindow window;
        window.home.write("Links/Caf\xE9.wnl", crlf({"0 Caf\xE9 Central", "x broken"}));
        QString message;
        int foldersShown = -1;
        QTimer::singleShot(0, &window.form, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            message = box->windowTitle() + ": " + box->text();
            foldersShown = window.folderModel()->rowCount();
            box->accept();
        });
        window.load();
        QCOMPARE(message, QStringLiteral("Velloria: 'x' is not a valid integer value"));
        QCOMPARE(foldersShown, 2);
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Café Central"));
    }

    void theSecondStatusPanelTakesTheExtraWidth()
    {
        SampleWindow window;
        window.load();
        showActive(window.form);
        const QLabel* second = window.form.findChild<QLabel*>(QStringLiteral("MainStatusBarPanel1"));
        window.form.resize(1000, 700);
        QTRY_COMPARE(second->width(), window.form.statusBar()->width() - 400);
        window.form.resize(window.form.minimumSizeHint().width(), 700);
        QTRY_VERIFY(window.form.statusBar()->width() < 601);
        QTRY_COMPARE(second->width(), 200);
    }
};

} // namespace

int runMainFormTests(int argc, char** argv)
{
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainFormTest.moc"
