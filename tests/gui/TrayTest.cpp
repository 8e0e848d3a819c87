// The notification-area icon: the program without a tray, the window shown and hidden by the
// icon, minimizing into it, starting hidden, and its menu.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/NewItemForm.h"
#include "gui/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

#include <memory>

using namespace velloria;
using namespace velloria::test;

namespace {

const auto kTray = [] { return true; };

// The sample window started as the program starts it, with a tray or without one.
void startWindow(SampleWindow& window, bool withTray, const std::function<void(TPreferences&)>& adjust = {})
{
    writeSamplePreferences(window.home, adjust);
    window.start();
    window.form.showAtStart(withTray ? std::function<bool()>(kTray) : std::function<bool()>());
}

void click(const SampleWindow& window, QSystemTrayIcon::ActivationReason reason)
{
    emit window.form.trayIcon()->icon().activated(reason);
}

void minimize(QWidget& form)
{
    form.setWindowState(form.windowState() | Qt::WindowMinimized);
}

// A menu's entries as lines, two blanks a level, each submenu opened as the user opens it.
QStringList menuLines(QMenu& menu, const QString& indent = {})
{
    QStringList lines;
    for (QAction* action : menu.actions()) {
        lines << indent + (action->isSeparator() ? QStringLiteral("---") : action->text());
        if (QMenu* submenu = action->menu()) {
            submenu->popup(QPoint(0, 0));
            lines << menuLines(*submenu, indent + QStringLiteral("  "));
            submenu->close();
        }
    }
    return lines;
}

// The entry reached through the captions of the menus on the way, each menu opened first.
QAction* menuEntry(QMenu& menu, const QStringList& path)
{
    QMenu* current = &menu;
    for (qsizetype i = 0; i < path.size(); ++i) {
        current->popup(QPoint(0, 0));
        QAction* found = nullptr;
        for (QAction* action : current->actions())
            if (action->text() == path[i])
                found = action;
        if (!found || i + 1 == path.size())
            return found;
        current = found->menu();
    }
    return nullptr;
}

class TrayTest : public QObject {
    Q_OBJECT

private slots:
    void withoutATrayTheProgramRunsAsUsual()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // offscreen
        SampleWindow window;
        startWindow(window, false);
        QVERIFY(window.form.isVisible());
        QVERIFY(!window.form.trayIcon());
        QVERIFY(!window.form.findChild<QSystemTrayIcon*>());
        QVERIFY(!window.model.flags().TrayIconCreated);
        minimize(window.form);
        QTest::qWait(20);
        QVERIFY(window.form.isVisible());
        QVERIFY(window.form.isMinimized());
    }

    void theIconComesOnlyWhenThePreferencesAskForIt()
    {
        SampleWindow without;
        startWindow(without, true, [](TPreferences& prefs) { prefs.CreateTrayIcon = false; });
        QVERIFY(!without.form.trayIcon());
        QVERIFY(!without.model.flags().TrayIconCreated);

        SampleWindow with;
        startWindow(with, true);
        QVERIFY(with.model.flags().TrayIconCreated);
        const QSystemTrayIcon& icon = with.form.trayIcon()->icon();
        QVERIFY(icon.isVisible());
        QCOMPARE(icon.toolTip(), QStringLiteral("Velloria"));
        QVERIFY(!icon.icon().isNull());

        // The icon goes with the window.
        auto form = std::make_unique<MainForm>(with.model);
        form->showAtStart(kTray);
        const QPointer<QSystemTrayIcon> second(&form->trayIcon()->icon());
        form.reset();
        QVERIFY(second.isNull());
    }

    void startingMinimizedHidesOrMinimizesTheWindow()
    {
        SampleWindow withTray;
        startWindow(withTray, true, [](TPreferences& prefs) { prefs.Minimized = true; });
        SampleWindow withoutTray;
        startWindow(withoutTray, false, [](TPreferences& prefs) { prefs.Minimized = true; });
        QVERIFY(withTray.form.isVisible()); // first shown, a moment later put away
        QTRY_VERIFY(!withTray.form.isVisible());
        QTRY_VERIFY(withoutTray.form.isMinimized());
        QVERIFY(withoutTray.form.isVisible());
        click(withTray, QSystemTrayIcon::Trigger);
        QVERIFY(withTray.form.isVisible());
    }

    void aLeftClickShowsOrHidesTheWindowAndMinimizingHidesIt()
    {
        SampleWindow window;
        startWindow(window, true, [](TPreferences& prefs) { prefs.MainMaximized = true; });
        QVERIFY(window.form.isMaximized());
        click(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        click(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible());

        minimize(window.form);
        QTRY_VERIFY(!window.form.isVisible());
        click(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible());
        QVERIFY(!window.form.isMinimized());
        QVERIFY(window.form.isMaximized()); // it comes back as it was
    }

    void theIconDoesNothingWhileADialogIsOpen()
    {
        SampleWindow window;
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        bool visibleAfterClick = false;
        bool menuOpened = true;
        QVERIFY(!answerDialog<NewItemForm>([&] { window.action("EditAddUrl")->trigger(); }, [&](NewItemForm&) {
            click(window, QSystemTrayIcon::Trigger);
            visibleAfterClick = window.form.isVisible();
            click(window, QSystemTrayIcon::Context);
            menuOpened = menu.isVisible();
        }));
        QVERIFY(visibleAfterClick);
        QVERIFY(!menuOpened);

        {
            const MainWindowModel::ModalWindow open(window.model); // a window that is not modal to Qt
            click(window, QSystemTrayIcon::Trigger);
            QVERIFY(window.form.isVisible());
        }
        click(window, QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        menu.close();
    }

    void theMenuShowsTheFixedItemsAndTheLibrary()
    {
        SampleWindow window;
        startWindow(window, true);
        // Not yet on disk: a link only in the list on screen.
        window.model.library().linkList().push_back({.Title = "Unsaved", .Address = "https://unsaved.example/"});
        click(window, QSystemTrayIcon::Context);
        QMenu& menu = window.form.trayIcon()->menu();
        QVERIFY(menu.isVisible());
        const QStringList lines = menuLines(menu);
        menu.close();
        QCOMPARE(lines, QStringList({"Show Main Window", "&Preferences...", "---", "Launch", "  Main", "    Recipes",
                                     "    Café", "      Café Central", "  Work", "    Velloria home", "    Mail",
                                     "    Wiki", "    Projects", "      Velloria", "    Archive", "      Old forum",
                                     "---", "Add to Folder", "  Main", "    <<Main>>", "    Recipes",
                                     "      <<Recipes>>", "    Café", "      <<Café>>", "  Work", "    <<Work>>",
                                     "    Projects", "      <<Projects>>", "      Velloria", "        <<Velloria>>",
                                     "    Archive", "      <<Archive>>", "---", "E&xit"}));
    }

    void launchOpensTheLinkInANewBrowserWindow()
    {
        SampleWindow window;
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        QAction* mail = menuEntry(menu, {"Launch", "Work", "Mail"});
        QVERIFY(mail);
        mail->trigger();
        menu.close();
        QCOMPARE(window.browser.opened,
                 std::vector<std::string>({"new window: about:blank", "https://mail.example/"}));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Work"));
        const QModelIndexList rows = window.linkView()->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.front().data().toString(), QStringLiteral("Mail"));
    }

    void addToFolderOpensTheAddBookmarkDialogWithTheClipboardAddress()
    {
        SampleWindow window;
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        const auto choose = [&](const QStringList& path) {
            return [&menu, path] {
                menuEntry(menu, path)->trigger();
                menu.close();
            };
        };
        QString title = QStringLiteral("<not shown>");
        QString address;
        const auto readFields = [&](NewItemForm& dialog) {
            QVERIFY(control<QRadioButton>(dialog, "rdbURL")->isChecked());
            title = control<QLineEdit>(dialog, "edTitle")->text();
            address = control<QLineEdit>(dialog, "edAddress")->text();
        };

        QApplication::clipboard()->setText(QStringLiteral("https://clip.example/page\n"));
        QVERIFY(answerDialog<NewItemForm>(choose({"Add to Folder", "Work", "Projects", "<<Projects>>"}),
                                          [&](NewItemForm& dialog) {
                                              readFields(dialog);
                                              QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Clip"));
                                              QTest::mouseClick(control(dialog, "btnOK"), Qt::LeftButton);
                                          }));
        QCOMPARE(title, QString());
        QCOMPARE(address, QStringLiteral("https://clip.example/page"));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Projects"));
        QVERIFY(window.home.read("Links/Projects.wnl").starts_with("0 Clip\r\n1 https://clip.example/page\r\n"));

        QApplication::clipboard()->setText(QStringLiteral("no address here"));
        QVERIFY(!answerDialog<NewItemForm>(choose({"Add to Folder", "Main", "<<Main>>"}), readFields));
        QCOMPARE(address, QString());
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Main"));
    }

    void aLongMenuScrollsInsteadOfRunningOffTheScreen()
    {
        SampleWindow window;
        std::string links;
        for (int i = 0; i < 2000; ++i)
            links += crlf({"0 Link " + std::to_string(i), "1 https://example.com/" + std::to_string(i), "2 ", "3 ", "4 "});
        window.home.write("Links/Recipes.wnl", links);
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        QAction* last = menuEntry(menu, {"Launch", "Main", "Recipes", "Link 1999"});
        QVERIFY(last);
        auto* recipes = qobject_cast<QMenu*>(last->parent());
        QVERIFY(recipes && recipes->isVisible());
        const QRect screen = recipes->screen()->availableGeometry();
        QVERIFY(recipes->height() <= screen.height());
        QCOMPARE(recipes->actionGeometry(last).left(), recipes->actionGeometry(recipes->actions().first()).left());
        // The last entry scrolls into the menu when it is chosen with the keys.
        recipes->setActiveAction(last);
        QVERIFY(recipes->rect().contains(recipes->actionGeometry(last)));
        menu.close();
    }

    void exitShowsTheWindowBeforeAskingToSave()
    {
        SampleWindow window;
        startWindow(window, true);
        window.model.lifecycle().libraryChanged();
        click(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        QAction* exit = window.form.trayIcon()->menu().findChild<QAction*>(QStringLiteral("trayExit"));
        QVERIFY(exit);
        window.form.answer = Answer::Cancel;
        exit->trigger();
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QVERIFY(window.form.isVisible()); // shown for the question, and kept open by Cancel
        window.form.answer = Answer::Yes;
        exit->trigger();
        QVERIFY(!window.form.isVisible());
        QVERIFY(!window.model.lifecycle().libraryModified());
    }
};

} // namespace

int runTrayTests(int argc, char** argv)
{
    TrayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TrayTest.moc"
