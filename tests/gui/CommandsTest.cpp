// The commands of the main window as the user meets them: the menus and bars, every shortcut
// pressed in the pane that has the focus.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "tools/Sort.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolBar>

using namespace velloria;
using namespace velloria::test;

namespace {

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

class CommandsTest : public QObject {
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
};

} // namespace

VELLORIA_GUI_TEST(CommandsTest)
#include "CommandsTest.moc"
