#include "GuiTests.h"
#include "SampleLibrary.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QTest>

using namespace velloria;
using namespace velloria::test;

namespace {

constexpr auto kReportToQtTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

qint64 iconKey(const QModelIndex& item)
{
    return item.data(Qt::DecorationRole).value<QIcon>().cacheKey();
}

class ItemModelsTest : public QObject {
    Q_OBJECT

private slots:
    void folderTreeFollowsLoadSelectionAndReload()
    {
        SampleWindow window;
        const QAbstractItemModelTester tester(window.folderModel(), kReportToQtTest);
        QCOMPARE(window.folderModel()->rowCount(), 0);
        window.start();
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Café", "Work", "  Projects", "    Velloria", "  Archive"}));

        // The selected folder alone shows the open folder icon.
        const QModelIndex cafe = window.folderItem("Main/Café");
        const QModelIndex work = window.folderItem("Work");
        QVERIFY(!work.data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(iconKey(cafe) != iconKey(work));
        window.model.selectFolder(3);
        QCOMPARE(iconKey(cafe), iconKey(window.folderItem("Main/Recipes")));
        QVERIFY(iconKey(work) != iconKey(cafe));

        window.home.write("folders.wnf", crlf({"Main", "\tTravel", "\t\tMaps", "Work"}));
        window.model.loadLibrary(RestoreFolderStates::No);
        QCOMPARE(treeLines(*window.folderModel()), QStringList({"Main", "  Travel", "    Maps", "Work"}));
        QVERIFY(!work.isValid() || work.data().isNull());
    }

    void linkListShowsTheSelectedFoldersLinks()
    {
        SampleWindow window;
        const QAbstractItemModelTester tester(window.linkModel(), kReportToQtTest);
        window.start();
        QAbstractItemModel& links = *window.linkModel();
        QCOMPARE(headerCaptions(links), QStringList({"Title +", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(rowLines(links), QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
        QVERIFY(!links.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(links.index(0, 1).data(Qt::DecorationRole).isNull());

        window.model.selectFolder(3);
        QCOMPARE(rowLines(links), QStringList({"Mail | https://mail.example/ |  | 2022.7.8",
                                               "Velloria home | https://velloria.example/ | 2024.5.1 | 2023.1.2",
                                               "Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"}));
        QCOMPARE(links.index(1, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("https://velloria.example/"));
        QVERIFY(links.index(1, 0).data(Qt::ToolTipRole).isNull());

        // A sort changes the order and the captions, in one reset of the list.
        window.model.execute(Command::ViewReversedOrder);
        QCOMPARE(headerCaptions(links), QStringList({"Title -", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(links.index(0, 0).data().toString(), QStringLiteral("Wiki"));

        window.model.selectFolder(1);
        QCOMPARE(links.rowCount(), 0);
        window.model.loadLibrary(RestoreFolderStates::Yes);
        QCOMPARE(links.rowCount(), 1);
    }
};

} // namespace

int runItemModelsTests(int argc, char** argv)
{
    ItemModelsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ItemModelsTest.moc"
