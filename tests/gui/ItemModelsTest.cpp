// The folder tree and the link list as Qt item models, checked by QAbstractItemModelTester: what
// they show and the precise changes each edit sends.

#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/QtText.h"

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

// The core's tree, rows, selection, focused row and folder, and what the Qt models and views show
// of them, alike.
QStringList coreState(const MainWindowModel& model)
{
    QStringList tree, rows, selected;
    for (const TFolderRecord& folder : model.library().folderTree().records())
        tree << QString(folder.Level * 2, u' ') + toQString(folder.Name);
    for (const TLinkRecord& link : model.library().linkList())
        rows << toQString(link.Title + " | " + link.Address + " | " + link.LastVisit + " | " + link.AddDate);
    for (std::size_t row : model.selection().selectedRows())
        selected << QString::number(row);
    selected.sort();
    const std::size_t folder = model.tree().selectedFolder();
    const std::size_t focused = model.selection().focusedRow();
    return {tree.join(u'/'), rows.join(u'/'), selected.join(u','),
            QString::number(focused == MainWindowModel::npos ? -1 : static_cast<int>(focused)),
            folder == MainWindowModel::npos ? QString() : toQString(model.library().folderTree()[folder].Name)};
}

QStringList viewState(const SampleWindow& window)
{
    QStringList selected;
    for (const QModelIndex& row : window.linkView()->selectionModel()->selectedRows())
        selected << QString::number(row.row());
    selected.sort();
    return {treeLines(*window.folderModel()).join(u'/'), rowLines(*window.linkModel()).join(u'/'), selected.join(u','),
            QString::number(window.linkView()->currentIndex().row()), window.currentFolder()};
}

class ItemModelsTest : public QObject {
    Q_OBJECT

private slots:
    void theModelsShowTheFoldersAndTheSelectedFoldersLinks()
    {
        SampleWindow window;
        const QAbstractItemModelTester treeTester(window.folderModel(), kReportToQtTest);
        const QAbstractItemModelTester listTester(window.linkModel(), kReportToQtTest);
        QVERIFY(window.start());
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Café", "Work", "  Projects", "    Velloria", "  Archive"}));
        QAbstractItemModel& links = *window.linkModel();
        QCOMPARE(headerCaptions(links), QStringList({"Title +", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(rowLines(links), QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
        QVERIFY(!links.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(links.index(0, 1).data(Qt::DecorationRole).isNull());

        // The selected folder alone shows the open folder icon.
        const QModelIndex cafe = window.folderItem("Main/Café");
        const QModelIndex work = window.folderItem("Work");
        QVERIFY(!work.data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(iconKey(cafe) != iconKey(work));
        window.model.tree().selectFolder(3);
        QCOMPARE(iconKey(cafe), iconKey(window.folderItem("Main/Recipes")));
        QVERIFY(iconKey(work) != iconKey(cafe));
        QCOMPARE(links.index(1, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("https://velloria.example/"));
        QVERIFY(links.index(1, 0).data(Qt::ToolTipRole).isNull());
    }

    // Each edit reaches the Qt models as the rows it inserts, removes, moves or changes; only a
    // change of the shown folder resets the list, and nothing here resets the tree. After each,
    // the Qt models hold the core's rows and the views show the model's selection.
    void editsReachTheViewsAsPreciseChanges()
    {
        SampleWindow window;
        const QAbstractItemModelTester treeTester(window.folderModel(), kReportToQtTest);
        const QAbstractItemModelTester listTester(window.linkModel(), kReportToQtTest);
        QVERIFY(window.start());
        MainWindowModel& model = window.model;
        int listResets = 0;
        int treeResets = 0;
        connect(window.linkModel(), &QAbstractItemModel::modelReset, this, [&] { ++listResets; });
        connect(window.folderModel(), &QAbstractItemModel::modelReset, this, [&] { ++treeResets; });
        const auto folder = [&](const char* name) { return model.library().folderTree().findExact(name); };
        const auto rows = [&](std::vector<std::size_t> selected, std::size_t focused) {
            model.list().lvReferencesEnter();
            model.list().selectRows(std::move(selected), focused);
        };
        const bool showsAnotherFolder = true;
        const std::vector<std::tuple<const char*, std::function<void()>, bool>> edits = {
            {"show Work, sorted by title", [&] { model.tree().selectFolder(folder("Work")); }, showsAnotherFolder},
            {"add a link that sorts first", [&] { model.editing().addLink("Blog", "https://blog.example/", "A blog"); },
             false},
            {"retitle the last link to sort first",
             [&] { rows({3}, 3), model.editing().editLink("Atlas", "https://atlas.example/", ""); }, false},
            {"visit a link", [&] { model.list().OpenSelectedLink(); }, false},
            {"cut two links", [&] { rows({1, 2}, 2), model.clipboard().EditCutExecute(); }, false},
            {"paste them back, each to its place", [&] { model.clipboard().EditPasteExecute(); }, false},
            {"delete two links apart", [&] { rows({0, 2}, 0), model.deleting().deleteSelectedLinks(); }, false},
            {"undo the deletion", [&] { model.deleting().RestoreUndoState(); }, false},
            {"move a link up, unsorted",
             [&] { model.execute(Command::ViewUnsorted), rows({3}, 3), model.reordering().EditMoveUpExecute(); },
             false},
            {"add a folder in Work", [&] { model.editing().addFolderIn(folder("Work"), "Reading", ""); },
             showsAnotherFolder},
            {"move it up", [&] { model.tree().trvFoldersEnter(), model.reordering().EditMoveUpExecute(); }, false},
            {"drop Projects onto Main",
             [&] { model.reordering().trvFoldersDragDrop(folder("Projects"), folder("Main")); }, showsAnotherFolder},
            {"delete Projects with its subfolder",
             [&] { model.tree().selectFolder(folder("Projects")), model.deleting().deleteSelectedFolder(); },
             showsAnotherFolder},
            {"undo the folder deletion", [&] { model.deleting().RestoreUndoState(); }, showsAnotherFolder},
        };
        for (const auto& [name, edit, anotherFolder] : edits) {
            listResets = treeResets = 0;
            edit();
            QCoreApplication::processEvents();
            const QStringList shown = viewState(window);
            QVERIFY2(shown == coreState(model), qPrintable(name + (": " + shown.join(" ; "))));
            QVERIFY2(treeResets == 0, name);
            QVERIFY2(anotherFolder || listResets == 0, name);
        }
        // The edits did what their names say; the undone folder comes back as its parent's last.
        QCOMPARE(treeLines(*window.folderModel()), QStringList({"Main", "  Recipes", "  Café", "  Projects",
                                                                "    Velloria", "Work", "  Reading", "  Archive"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Velloria"));
    }
};

} // namespace

VELLORIA_GUI_TEST(ItemModelsTest)
#include "ItemModelsTest.moc"
