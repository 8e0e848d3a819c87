// The commands of the main window: menus, toolbar and context menu as the command table lays
// them out, their states and texts from the model, and the gate of a modal dialog.

#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/AboutForm.h"
#include "gui/QtText.h"
#include "mainwindow/Commands.h"
#include "store/Library.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace velloria;
using namespace velloria::test;

namespace {

// Object names of the commands of a list, "-" for each separator.
QStringList commandNames(const CommandList& commands)
{
    QStringList names;
    for (const std::optional<Command>& item : commands)
        names << (item ? toQString(commandInfo(*item).name) : QStringLiteral("-"));
    return names;
}

QStringList actionNames(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* action : actions)
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void menusToolbarAndContextMenuFollowTheCommandLists()
    {
        SampleWindow window;
        window.start();
        const QList<QAction*> menus = window.form.menuBar()->actions();
        QCOMPARE(menus.size(), static_cast<qsizetype>(mainMenu().size()));
        for (std::size_t i = 0; i < mainMenu().size(); ++i) {
            const QMenu* menu = menus[static_cast<int>(i)]->menu();
            QCOMPARE(menu->objectName(), toQString(mainMenu()[i].name));
            QCOMPARE(actionNames(menu->actions()), commandNames(mainMenu()[i].items));
        }
        QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
        QCOMPARE(menus[4]->text(), QStringLiteral("&Help"));

        const auto* toolBar = window.form.findChild<QToolBar*>(QStringLiteral("MainToolBar"));
        QCOMPARE(actionNames(toolBar->actions()), commandNames(toolbarCommands()));
        QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
        const auto* contextMenu = window.form.findChild<QMenu*>(QStringLiteral("ContextMenu"));
        QCOMPARE(actionNames(contextMenu->actions()), commandNames(contextMenuCommands()));
    }

    void everyCommandHasItsShortcutImageAndKind()
    {
        SampleWindow window;
        for (const CommandInfo& info : commandTable()) {
            const QAction* action = window.action(info.name.data());
            QVERIFY2(action, info.name.data());
            QCOMPARE(action->shortcut().toString(), toQString(info.shortcut));
            QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
            // An image that cannot be drawn (a missing file or SVG support) gives no pixmap.
            QCOMPARE(!action->icon().pixmap(16, 16).isNull(), info.image >= 0);
            QCOMPARE(action->isCheckable(), info.kind != CommandKind::Plain);
            QCOMPARE(action->actionGroup() != nullptr, info.kind == CommandKind::SortChoice);
        }
        QVERIFY(window.action("ViewSortByTitle")->actionGroup()->isExclusive());
        QVERIFY(!window.form.windowIcon().isNull());
    }

    void statesAndTextsComeFromTheModel()
    {
        SampleWindow window;
        window.start();
        QVERIFY(!window.action("FileSave")->isEnabled());
        QVERIFY(!window.action("EditUndo")->isEnabled());
        QVERIFY(!window.action("EditPaste")->isEnabled());
        QVERIFY(window.action("ToolsGo")->isEnabled());
        QVERIFY(window.action("ViewSortByTitle")->isChecked());
        QVERIFY(window.action("ViewToolbar")->isChecked());
        QCOMPARE(window.action("FileSave")->text(), QStringLiteral("&Save"));
        QCOMPARE(window.action("ToolsGoInNewBrowser")->toolTip(), QStringLiteral("Go in New Window"));

        window.model.lifecycle().libraryChanged();
        QVERIFY(window.action("FileSave")->isEnabled());
        window.action("FileSave")->trigger();
        QVERIFY(!window.action("FileSave")->isEnabled());

        // A sort command the user picks is checked by the model, the others unchecked.
        window.action("ViewSortByAddress")->trigger();
        QVERIFY(window.action("ViewSortByAddress")->isChecked());
        QVERIFY(!window.action("ViewSortByTitle")->isChecked());
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title", "Address +", "Last Visit", "Add Date"}));
    }

    void barsFollowTheirCommandsWithoutMovingTheWindow()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        auto* toolBar = window.form.findChild<QToolBar*>(QStringLiteral("MainToolBar"));
        const QRect bounds = window.form.geometry();
        window.form.move(60, 50);
        QTRY_COMPARE(window.form.pos(), QPoint(60, 50));
        const QRect moved = window.form.geometry();
        QCOMPARE(moved.size(), bounds.size());

        window.action("ViewToolbar")->trigger();
        QVERIFY(!toolBar->isVisible());
        QVERIFY(!window.action("ViewToolbar")->isChecked());
        QVERIFY(readPreferences(window.home).find("\r\n038 False\r\n") != std::string::npos);
        QCOMPARE(window.form.geometry(), moved);

        window.action("ViewStatusBar")->trigger();
        QVERIFY(!window.form.statusBar()->isVisible());
        window.action("ViewToolbar")->trigger();
        QVERIFY(toolBar->isVisible());
        QCOMPARE(window.form.geometry(), moved);
    }

    void aHiddenToolbarStaysHiddenAtTheStart()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.ShowToolbar = false; });
        window.start();
        QVERIFY(showActive(window.form));
        QVERIFY(!window.form.findChild<QToolBar*>(QStringLiteral("MainToolBar"))->isVisible());
        QVERIFY(window.form.statusBar()->isVisible());
    }

    void theAboutBoxHoldsBackTheCommandsWhileItIsOpen()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        QStringList seen;
        QTimer::singleShot(0, &window.form, [&] {
            auto* about = qobject_cast<AboutForm*>(QApplication::activeModalWidget());
            QVERIFY(about);
            seen << about->windowTitle();
            for (const char* name : {"lblName", "lblWhat", "lblHomePage"})
                seen << about->findChild<QLabel*>(QString::fromLatin1(name))->text();
            seen << about->findChild<QPushButton*>(QStringLiteral("btnOK"))->text();
            QVERIFY(!about->findChild<QLabel*>(QStringLiteral("imgIcon"))->pixmap().isNull());
            window.action("ToolsGo")->trigger();
            QTest::keyClick(about, Qt::Key_Escape);
        });
        window.action("HelpAbout")->trigger();
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen[0], QStringLiteral("About"));
        QVERIFY2(QRegularExpression(QStringLiteral("^Velloria \\d+\\.\\d+(\\.\\d+)?$")).match(seen[1]).hasMatch(),
                 qPrintable(seen[1]));
        QCOMPARE(seen[2], QStringLiteral("A bookmark manager"));
        QVERIFY(seen[3].contains(toQString(kHomePageAddress)));
        QCOMPARE(seen[4], QStringLiteral("OK"));
        QVERIFY(window.browser.opened.empty());

        window.action("ToolsGo")->trigger();
        QCOMPARE(window.browser.opened, std::vector<std::string>({"https://cafe.example/"}));
    }

    void exitClosesTheWindow()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        window.action("FileExit")->trigger();
        QVERIFY(!window.form.isVisible());
    }
};

} // namespace

int runCommandsTests(int argc, char** argv)
{
    CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CommandsTest.moc"
