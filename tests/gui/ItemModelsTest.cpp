#include "GuiTests.h"
#include "SampleLibrary.h"

#include "gui/QtText.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <optional>

using namespace velloria;
using namespace velloria::test;

namespace {

constexpr auto kReportToQtTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

constexpr auto kFatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

qint64 iconKey(const QModelIndex& item)
{
    return item.data(Qt::DecorationRole).value<QIcon>().cacheKey();
}

// The core's tree and list, as treeLines and rowLines show a Qt model.
QStringList coreTreeLines(const MainWindowModel& model)
{
    QStringList lines;
    for (const TFolderRecord& folder : model.library().folderTree().records())
        lines << QString(folder.Level * 2, u' ') + toQString(folder.Name);
    return lines;
}

QStringList coreRowLines(const MainWindowModel& model)
{
    QStringList lines;
    for (const TLinkRecord& link : model.library().linkList())
        lines << QStringList({toQString(link.Title), toQString(link.Address), toQString(link.LastVisit),
                              toQString(link.AddDate)})
                     .join(QStringLiteral(" | "));
    return lines;
}

// What the views show selected and expanded, and what the model says is: the selected rows
// and the focused row, the selected folder, the expanded folders.
QString viewState(const SampleWindow& window)
{
    QStringList rows;
    for (const QModelIndex& row : window.linkView()->selectionModel()->selectedRows())
        rows << QString::number(row.row());
    rows.sort();
    QStringList expanded;
    const std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < window.folderModel()->rowCount(parent); ++row) {
            const QModelIndex item = window.folderModel()->index(row, 0, parent);
            if (window.folderView()->isExpanded(item))
                expanded << item.data().toString();
            walk(item);
        }
    };
    walk({});
    return QStringLiteral("rows %1, focused %2; folder %3; expanded %4")
        .arg(rows.join(u','), QString::number(window.linkView()->currentIndex().row()),
             window.folderView()->currentIndex().data().toString(), expanded.join(u','));
}

QString modelState(const MainWindowModel& model)
{
    QStringList rows;
    for (std::size_t row : model.selection().selectedRows())
        rows << QString::number(row);
    rows.sort();
    QStringList expanded;
    for (const TFolderRecord& folder : model.library().folderTree().records())
        if (folder.Expanded)
            expanded << toQString(folder.Name);
    const std::size_t folder = model.tree().selectedFolder();
    const std::size_t focused = model.selection().focusedRow();
    return QStringLiteral("rows %1, focused %2; folder %3; expanded %4")
        .arg(rows.join(u','),
             QString::number(focused == MainWindowModel::npos ? -1 : static_cast<int>(focused)),
             folder == MainWindowModel::npos ? QString() : toQString(model.library().folderTree()[folder].Name),
             expanded.join(u','));
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
        window.model.tree().selectFolder(3);
        QCOMPARE(iconKey(cafe), iconKey(window.folderItem("Main/Recipes")));
        QVERIFY(iconKey(work) != iconKey(cafe));

        window.home.write("folders.wnf", crlf({"Main", "\tTravel", "\t\tMaps", "Work"}));
        window.model.lifecycle().loadLibrary(RestoreFolderStates::No);
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

        window.model.tree().selectFolder(3);
        QCOMPARE(rowLines(links), QStringList({"Mail | https://mail.example/ |  | 2022.7.8",
                                               "Velloria home | https://velloria.example/ | 2024.5.1 | 2023.1.2",
                                               "Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"}));
        QCOMPARE(links.index(1, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("https://velloria.example/"));
        QVERIFY(links.index(1, 0).data(Qt::ToolTipRole).isNull());

        // A sort changes the order and the captions.
        window.model.execute(Command::ViewReversedOrder);
        QCOMPARE(headerCaptions(links), QStringList({"Title -", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(links.index(0, 0).data().toString(), QStringLiteral("Wiki"));

        window.model.tree().selectFolder(1);
        QCOMPARE(links.rowCount(), 0);
        window.model.lifecycle().loadLibrary(RestoreFolderStates::Yes);
        QCOMPARE(links.rowCount(), 1);
    }

    // Each edit reaches the Qt models as the rows it inserts, removes, moves or changes; only a
    // change of the shown folder resets the list, and nothing here resets the tree. After each,
    // the Qt models hold the core's rows and the views show the model's selection.
    void editsReachTheViewsAsPreciseChanges()
    {
        SampleWindow window;
        const QAbstractItemModelTester treeTester(window.folderModel(), kFatal);
        const QAbstractItemModelTester listTester(window.linkModel(), kFatal);
        window.start();
        MainWindowModel& model = window.model;
        int listResets = 0;
        int treeResets = 0;
        connect(window.linkModel(), &QAbstractItemModel::modelReset, this, [&] { ++listResets; });
        connect(window.folderModel(), &QAbstractItemModel::modelReset, this, [&] { ++treeResets; });
        const auto folder = [&](const char* name) { return model.library().folderTree().findExact(name); };
        struct Edit {
            const char* name;
            std::function<void()> edit;
            std::optional<int> listResets; // nullopt: the shown folder changes, with its resets
        };
        const std::vector<Edit> edits = {
            {"show Work, sorted by title", [&] { model.tree().selectFolder(folder("Work")); }, std::nullopt},
            {"add a link that sorts first", [&] { model.editing().addLink("Blog", "https://blog.example/", "A blog"); }, 0},
            {"retitle the last link to sort first",
             [&] {
                 model.list().selectRows({3}, 3);
                 model.editing().editLink("Atlas", "https://atlas.example/", "");
             },
             0},
            {"visit a link", [&] { model.list().OpenSelectedLink(); }, 0},
            {"cut two links",
             [&] {
                 model.list().lvReferencesEnter();
                 model.list().selectRows({1, 2}, 2);
                 model.clipboard().EditCutExecute();
             },
             0},
            {"paste them back, each to its place", [&] { model.clipboard().EditPasteExecute(); }, 0},
            {"delete two links apart",
             [&] {
                 model.list().selectRows({0, 2}, 0);
                 model.deleting().deleteSelectedLinks();
             },
             0},
            {"undo the deletion", [&] { model.deleting().RestoreUndoState(); }, 0},
            {"move a link up, unsorted",
             [&] {
                 model.execute(Command::ViewUnsorted);
                 model.list().lvReferencesEnter();
                 model.list().selectRows({3}, 3);
                 model.reordering().EditMoveUpExecute();
             },
             0},
            {"move two links down",
             [&] {
                 model.list().selectRows({0, 1}, 1);
                 model.reordering().EditMoveDownExecute();
             },
             0},
            {"add a folder in Work", [&] { model.editing().addFolderIn(folder("Work"), "Reading", ""); }, std::nullopt},
            {"rename it", [&] { model.editing().editFolder("Reading list", ""); }, std::nullopt},
            {"move it up",
             [&] {
                 model.tree().trvFoldersEnter();
                 model.reordering().EditMoveUpExecute();
             },
             0},
            {"move it down", [&] { model.reordering().EditMoveDownExecute(); }, 0},
            {"drop Projects onto Main", [&] { model.reordering().trvFoldersDragDrop(folder("Projects"), folder("Main")); },
             std::nullopt},
            {"delete Projects with its subfolder",
             [&] {
                 model.tree().selectFolder(folder("Projects"));
                 model.deleting().deleteSelectedFolder();
             },
             std::nullopt},
            {"undo the folder deletion", [&] { model.deleting().RestoreUndoState(); }, std::nullopt},
        };
        for (const Edit& edit : edits) {
            listResets = treeResets = 0;
            edit.edit();
            QCoreApplication::processEvents();
            const QByteArray what = edit.name;
            QVERIFY2(coreTreeLines(model) == treeLines(*window.folderModel()), what);
            QVERIFY2(coreRowLines(model) == rowLines(*window.linkModel()), what);
            QVERIFY2(modelState(model) == viewState(window), what + ": " + viewState(window).toUtf8());
            QVERIFY2(treeResets == 0, what);
            QVERIFY2(!edit.listResets || listResets == *edit.listResets, what);
        }
        // The edits did what their names say; the undone folder comes back as its parent's last.
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Caf\u00e9", "  Projects", "    Velloria", "Work",
                              "  Archive", "  Reading list"}));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Velloria"));
    }

    // An edit keeps what the views show: the tree where it was scrolled to after a folder
    // further down is renamed, the list where it was scrolled to after a link moved.
    void viewsKeepTheirScrollPositionAcrossEdits()
    {
        SampleWindow window;
        std::string tree = crlf({"Main", "\tRecipes", "Work"});
        std::string links;
        for (int i = 0; i < 60; ++i) {
            const std::string n = std::to_string(i);
            tree += "Folder " + n + "\r\n";
            links += "0 Link " + n + "\r\n1 https://example.org/" + n + "\r\n2 \r\n3 2024.1.1\r\n4 \r\n";
        }
        window.home.write("folders.wnf", tree);
        window.home.write("Links/Work.wnl", links);
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.SortMode = 4; });
        window.start();
        QVERIFY(showActive(window.form));

        QScrollBar* treeScroll = window.folderView()->verticalScrollBar();
        const std::size_t far = window.model.library().folderTree().findExact("Folder 40");
        window.model.tree().selectFolder(far);
        window.folderView()->scrollTo(window.folderItem("Folder 35"), QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        const int treeAt = treeScroll->value();
        QVERIFY(treeAt > 0);
        window.model.editing().editFolder("Folder 40 renamed", "");
        QCoreApplication::processEvents();
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Folder 40 renamed"));
        QCOMPARE(treeScroll->value(), treeAt);

        QScrollBar* listScroll = window.linkView()->verticalScrollBar();
        window.model.tree().selectFolder(window.model.library().folderTree().findExact("Work"));
        window.model.list().lvReferencesEnter();
        window.model.list().selectRows({30}, 30);
        window.linkView()->scrollTo(window.linkModel()->index(25, 0), QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        const int listAt = listScroll->value();
        QVERIFY(listAt > 0);
        window.model.list().lvReferencesEnter();
        window.model.reordering().EditMoveDownExecute();
        QCoreApplication::processEvents();
        QCOMPARE(window.linkModel()->index(31, 0).data().toString(), QStringLiteral("Link 30"));
        QCOMPARE(window.linkView()->currentIndex().row(), 31);
        QCOMPARE(listScroll->value(), listAt);
    }
};

} // namespace

int runItemModelsTests(int argc, char** argv)
{
    ItemModelsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ItemModelsTest.moc"
