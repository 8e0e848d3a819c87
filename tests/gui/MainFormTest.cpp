// The main window: its menus and shortcuts, its panes, the Qt item models under
// QAbstractItemModelTester, the user's clicks and drags, the remembered layout, the icon in the
// notification area and a second copy of the program handing over to the first one's window.

#include "GuiTest.h"
#include "gui/NewItemForm.h"
#include "gui/QtText.h"
#include "gui/SingleInstance.h"
#include "gui/TrayIcon.h"
#include "support/LibraryFiles.h"
#include "tools/Sort.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QToolBar>

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

// The texts of the actions, "-" for a separator.
QString actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join(QStringLiteral(", "));
}

// What the window shows that a command can change: the dialogs that came up (their captions,
// checked choices and title fields), what the browser opened, the list's rows (* selected),
// the expanded folders, whether Save and Paste are enabled and whether the saved copy of Work's
// links equals the working file.
QStringList windowState(const SampleWindow& window, const QStringList& dialogs)
{
    QStringList rows, expanded;
    for (int row = 0; row < window.linkModel()->rowCount(); ++row)
        rows << window.linkModel()->index(row, 0).data().toString()
                    + (window.linkView()->selectionModel()->isRowSelected(row) ? "*" : "");
    for (const char* path : {"Main", "Work", "Work/Projects"})
        if (window.folderView()->isExpanded(window.folderItem(path)))
            expanded << path;
    return {"dialogs: " + dialogs.join(QStringLiteral("; ")), "opened: " + window.opened(),
            "rows: " + rows.join(QStringLiteral(", ")), "expanded: " + expanded.join(QStringLiteral(", ")),
            QStringLiteral("save %1, paste %2, backup %3")
                .arg(window.action("FileSave")->isEnabled() ? "on" : "off",
                     window.action("EditPaste")->isEnabled() ? "on" : "off",
                     window.home.read("Links/Work.wnl") == window.home.read("Links/Work.~wnl") ? "same" : "differs")};
}

QString describeDialog(QDialog& dialog)
{
    QString text = dialog.windowTitle();
    for (const QRadioButton* choice : dialog.findChildren<QRadioButton*>())
        if (choice->isChecked())
            text += " [" + choice->objectName() + "]";
    if (const auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("edTitle")))
        text += " '" + title->text() + "'";
    return text;
}

constexpr auto kReportToQtTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

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

// Starts the window as the program does, with a tray or without one.
bool startWindow(SampleWindow& window, bool withTray)
{
    if (!window.start())
        return false;
    window.form.showAtStart(withTray ? std::function<bool()>([] { return true; }) : std::function<bool()>());
    return true;
}

void clickIcon(const SampleWindow& window, QSystemTrayIcon::ActivationReason reason)
{
    emit window.form.trayIcon()->icon().activated(reason);
}

// The entry reached through the captions of the menus on the way, each menu opened first.
QAction* menuEntry(QMenu& menu, const QStringList& path)
{
    QMenu* current = &menu;
    QAction* found = nullptr;
    for (const QString& caption : path) {
        current->popup(QPoint(0, 0));
        const QList<QAction*> entries = current->actions();
        const auto at = std::find_if(entries.begin(), entries.end(), [&](QAction* a) { return a->text() == caption; });
        found = at == entries.end() ? nullptr : *at;
        if (!found || !found->menu())
            break;
        current = found->menu();
    }
    return found;
}

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void theMenusAndBarsHoldTheCommandsInTheirOrder()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QStringList menus;
        for (const QAction* menu : window.form.menuBar()->actions())
            menus << menu->text() + ": " + actionTexts(menu->menu()->actions());
        QCOMPARE(menus.mid(0, 4),
                 QStringList({"&File: &Save, -, &Import..., &Export..., -, &Generate HTML File..., -, E&xit",
                              "&Edit: &Undo, -, Add F&older..., Add &Bookmark..., -, &Edit Item..., -, &Move Item Up, "
                              "Mo&ve Item Down, -, Cu&t, &Copy, &Paste, -, &Delete, -, &Find..., F&ind Again",
                              "&View: T&oolbar, &Status Bar, -, &Expand all Folders, &Collapse all Folders, -, "
                              "Sort by &Title, Sort by &Address, Sort by Last &Visit, Sort by Add &Date, &Unsorted, -, "
                              "&Reversed Order",
                              "&Tools: &Go, Go in New &Window, -, S&tatistics..., &Preferences..."}));
        QCOMPARE(menus.value(4), QStringLiteral("&Help: &Help, -, &H&ome Page, &Feedback, -, &About..."));
        QCOMPARE(actionTexts(window.form.findChild<QToolBar*>(QStringLiteral("MainToolBar"))->actions()),
                 QStringLiteral("&Save, -, Add F&older..., Add &Bookmark..., &Edit Item..., &Delete, &Undo, -, "
                                "&Move Item Up, Mo&ve Item Down, -, &Go, Go in New &Window, -, S&tatistics..., "
                                "&Preferences..., -, &Help"));
        QCOMPARE(actionTexts(window.form.findChild<QMenu*>(QStringLiteral("ContextMenu"))->actions()),
                 QStringLiteral("&Go, Go in New &Window, -, &Move Item Up, Mo&ve Item Down, -, Add F&older..., "
                                "Add &Bookmark..., &Edit Item..., -, Cu&t, &Copy, &Paste, -, &Delete"));
    }

    // Work shown unsorted (Velloria home, Mail, Wiki) with Mail selected; deleting asks nothing.
    void eachShortcutDoesItsCommand_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("changes");
        const QString moved = QStringLiteral("save on, paste off, backup differs");
        const QString visited = QStringLiteral("save off, paste off, backup differs"); // a visit is no edit
        QTest::newRow("save") << "list" << "Ctrl+Down, Ctrl+S" << QStringList{"rows: Velloria home, Wiki, Mail*"};
        QTest::newRow("new link") << "list" << "Ins" << QStringList{"dialogs: Add New Item [rdbURL] ''"};
        QTest::newRow("new folder") << "tree" << "Ctrl+Ins" << QStringList{"dialogs: Add New Item [rdbFolder] ''"};
        QTest::newRow("edit link") << "list" << "F2" << QStringList{"dialogs: Edit Item 'Mail'"};
        QTest::newRow("edit folder") << "tree" << "F2" << QStringList{"dialogs: Edit Item 'Work'"};
        QTest::newRow("delete") << "list" << "Del" << QStringList{"rows: Velloria home, Wiki*", moved};
        QTest::newRow("undo") << "list" << "Del, Ctrl+Z" << QStringList{"rows: Velloria home, Wiki, Mail*", moved};
        QTest::newRow("move up") << "list" << "Ctrl+Up" << QStringList{"rows: Mail*, Velloria home, Wiki", moved};
        QTest::newRow("move down") << "list" << "Ctrl+Down" << QStringList{"rows: Velloria home, Wiki, Mail*", moved};
        QTest::newRow("cut") << "list" << "Ctrl+X"
                             << QStringList{"rows: Velloria home, Wiki*", "save on, paste on, backup differs"};
        QTest::newRow("copy") << "list" << "Ctrl+C" << QStringList{"save off, paste on, backup same"};
        QTest::newRow("paste") << "list" << "Ctrl+X, Ctrl+V"
                               << QStringList{"rows: Velloria home, Wiki, Mail*", "save on, paste on, backup differs"};
        QTest::newRow("find") << "list" << "Ctrl+F" << QStringList{"dialogs: Find"};
        QTest::newRow("help") << "tree" << "F1" << QStringList{"opened: file://~/velloria-help.html"};
        QTest::newRow("expand all") << "tree" << "Ctrl+F5" << QStringList{"expanded: Main, Work, Work/Projects"};
        QTest::newRow("collapse all") << "tree" << "Ctrl+F6" << QStringList{"rows: ", "expanded: "}; // Main chosen
        QTest::newRow("go") << "list" << "Ctrl+Return" << QStringList{"opened: https://mail.example/", visited};
        const QString newWindow = QStringLiteral("opened: new window: about:blank; https://mail.example/");
        QTest::newRow("go in new window") << "list" << "Return" << QStringList{newWindow, visited};
        QTest::newRow("keypad Enter") << "list" << "Num+Enter" << QStringList{newWindow, visited};
        QTest::newRow("go from the tree") << "tree" << "Return" << QStringList{newWindow, visited};
    }

    void eachShortcutDoesItsCommand()
    {
        QFETCH(QString, pane);
        QFETCH(QString, keys);
        SampleWindow window([](TPreferences& prefs) {
            prefs.SortMode = static_cast<int>(SortMode::Unsorted);
            prefs.ConfirmDeleting = false;
        });
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.linkView()->setFocus();
        window.model.list().selectRows({1}, 1);
        if (pane == "tree")
            window.folderView()->setFocus();
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused, pane == "tree" ? static_cast<QWidget*>(window.folderView()) : window.linkView());

        const QStringList before = windowState(window, {});
        QStringList described;
        const ModalAnswerer<> dialogs([&](QDialog& dialog) { described << describeDialog(dialog); });
        QTest::keySequence(focused, QKeySequence(keys));
        const QStringList after = windowState(window, described);
        QStringList changes;
        for (qsizetype i = 0; i < after.size(); ++i)
            if (after[i] != before[i])
                changes << after[i];
        QTEST(changes, "changes");
    }

    // Each edit reaches the Qt models as the rows it inserts, removes, moves or changes; only a
    // change of the shown folder resets the list, and nothing here resets the tree. After each,
    // the Qt models hold the core's rows and the views show the model's selection.
    void theModelsShowTheLibraryAndEditsReachThemAsPreciseChanges()
    {
        SampleWindow window;
        const QAbstractItemModelTester treeTester(window.folderModel(), kReportToQtTest);
        const QAbstractItemModelTester listTester(window.linkModel(), kReportToQtTest);
        QVERIFY(window.start());
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Café", "Work", "  Projects", "    Velloria", "  Archive"}));
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title +", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
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
            {"cut two links", [&] { rows({1, 2}, 2), model.clipboard().EditCutExecute(); }, false},
            {"paste them back, each to its place", [&] { model.clipboard().EditPasteExecute(); }, false},
            {"delete two links apart", [&] { rows({0, 2}, 0), model.deleting().deleteSelectedLinks(); }, false},
            {"move a link up, unsorted",
             [&] { model.execute(Command::ViewUnsorted), rows({3}, 3), model.reordering().EditMoveUpExecute(); },
             false},
            {"add a folder in Work", [&] { model.editing().addFolderIn(folder("Work"), "Reading", ""); },
             showsAnotherFolder},
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
        // The edits did what their names say; an added or undone folder comes last under its parent.
        QCOMPARE(treeLines(*window.folderModel()), QStringList({"Main", "  Recipes", "  Café", "  Projects",
                                                                "    Velloria", "Work", "  Archive", "  Reading"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Velloria"));
    }

    // A right click in the tree chooses the folder under the pointer, a clicked row is the
    // model's selection, and the description pane follows the focused pane.
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
        window.folderView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
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
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        QCOMPARE(window.form.geometry(), QRect(40, 30, 760, 520));
        const QHeaderView* header = window.linkView()->horizontalHeader();
        QCOMPARE(QList<int>({header->sectionSize(0), header->sectionSize(1), header->sectionSize(2),
                             header->sectionSize(3)}),
                 QList<int>({150, 260, 90, 90}));
        QCOMPARE(splitter(window, "splMain")->sizes().value(0), 210);
        QCOMPARE(splitter(window, "splList")->sizes().value(1), 80);

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

    // Offscreen there is no tray: the program runs as usual, and minimizing only minimizes.
    void theIconComesWithATrayWhenThePreferencesAskForIt()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        const Adjust minimized = [](TPreferences& prefs) { prefs.Minimized = true; };
        SampleWindow noTray(minimized), with(minimized);
        SampleWindow unwanted([](TPreferences& prefs) { prefs.CreateTrayIcon = false; });
        QVERIFY(startWindow(noTray, false) && startWindow(unwanted, true) && startWindow(with, true));
        QVERIFY(with.form.isVisible()); // first shown, a moment later put away
        QVERIFY(!noTray.form.findChild<QSystemTrayIcon*>() && !unwanted.form.findChild<QSystemTrayIcon*>());
        QVERIFY(!noTray.model.flags().TrayIconCreated && !unwanted.model.flags().TrayIconCreated);
        QTRY_VERIFY(noTray.form.isMinimized());
        QVERIFY(noTray.form.isVisible());
        QVERIFY(with.model.flags().TrayIconCreated);
        const QSystemTrayIcon& icon = with.form.trayIcon()->icon();
        QVERIFY(icon.isVisible() && !icon.icon().isNull());
        QCOMPARE(icon.toolTip(), QStringLiteral("Velloria"));
        QTRY_VERIFY(!with.form.isVisible());
    }

    void aLeftClickShowsOrHidesTheWindowAndMinimizingHidesIt()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.MainMaximized = true; });
        QVERIFY(startWindow(window, true));
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible());
        window.form.setWindowState(window.form.windowState() | Qt::WindowMinimized);
        QTRY_VERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible() && !window.form.isMinimized());
        QVERIFY(window.form.isMaximized()); // it comes back as it was
    }

    // The icon does nothing while a dialog is open; Add to Folder opens the new link dialog, and
    // Exit shows the window before asking to save.
    void theMenuEntriesWorkWhenNoDialogIsOpen()
    {
        SampleWindow window;
        QVERIFY(startWindow(window, true));
        QMenu& menu = window.form.trayIcon()->menu();
        QApplication::clipboard()->setText(QStringLiteral("https://clip.example/page\n"));
        QStringList shown;
        const auto choose = [&] {
            menuEntry(menu, {"Add to Folder", "Work", "Projects", "<<Projects>>"})->trigger();
            menu.close();
        };
        QVERIFY(answerDialog<NewItemForm>(choose, [&](NewItemForm& dialog) {
            clickIcon(window, QSystemTrayIcon::Trigger);
            clickIcon(window, QSystemTrayIcon::Context);
            shown << control<QLineEdit>(dialog, "edAddress")->text()
                  << QStringLiteral("shown %1, menu %2")
                         .arg(window.form.isVisible() ? "yes" : "no", menu.isVisible() ? "yes" : "no");
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Clip"));
            click(dialog, "btnOK");
        }));
        QCOMPARE(shown, QStringList({"https://clip.example/page", "shown yes, menu no"}));
        QVERIFY(window.home.read("Links/Projects.wnl").starts_with("0 Clip\r\n1 https://clip.example/page\r\n"));
        clickIcon(window, QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        menu.close();
        clickIcon(window, QSystemTrayIcon::Trigger);
        QAction* exit = menu.findChild<QAction*>(QStringLiteral("trayExit"));
        exit->trigger();
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QVERIFY(window.form.isVisible()); // shown for the question, and kept open by Cancel
        window.form.answer = Answer::Yes;
        exit->trigger();
        QVERIFY(!window.form.isVisible() && !window.model.lifecycle().libraryModified());
    }

    void aSecondCopyShowsTheFirstCopysWindow()
    {
        TempHome home;
        SingleInstance first(home.path());
        QCOMPARE(first.start(), SingleInstance::Start::Run);
        QWidget window;
        // Put away in the notification area: hidden, still minimized, maximized before.
        window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        first.showOnRequest(&window);

        SingleInstance second(home.path());
        QCOMPARE(second.start(), SingleInstance::Start::HandedOver);
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(window.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
    }

    void aLockWithoutAWindowIsNoHandover()
    {
        TempHome home;
        InstanceLock commandLineTool(InstanceLock::lockFileFor(home.path()));
        QCOMPARE(commandLineTool.tryAcquire(), InstanceLock::Result::Acquired);
        QCOMPARE(SingleInstance(home.path()).start(), SingleInstance::Start::NoAnswer);
    }
};

} // namespace

VELLORIA_GUI_TEST(MainFormTest)
#include "MainFormTest.moc"
