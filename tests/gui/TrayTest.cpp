// The notification-area icon (the window shown and hidden by it, minimizing into it, starting
// hidden, its menu) and a second copy of the program handing over to the first one's window.

#include "GuiTest.h"
#include "gui/NewItemForm.h"
#include "gui/SingleInstance.h"
#include "gui/TrayIcon.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>

using namespace velloria;
using namespace velloria::test;

namespace {

// The sample window started as the program starts it, with a tray or without one.
bool startWindow(SampleWindow& window, bool withTray, const Adjust& adjust = {})
{
    writeSamplePreferences(window.home, adjust);
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

class TrayTest : public QObject {
    Q_OBJECT

private slots:
    // Offscreen there is no tray: the program runs as usual, and minimizing only minimizes.
    void theIconComesWithATrayWhenThePreferencesAskForIt()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        SampleWindow noTray, unwanted, with;
        QVERIFY(startWindow(noTray, false, [](TPreferences& prefs) { prefs.Minimized = true; }));
        QVERIFY(startWindow(unwanted, true, [](TPreferences& prefs) { prefs.CreateTrayIcon = false; }));
        QVERIFY(startWindow(with, true, [](TPreferences& prefs) { prefs.Minimized = true; }));
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
        SampleWindow window;
        QVERIFY(startWindow(window, true, [](TPreferences& prefs) { prefs.MainMaximized = true; }));
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

    // The icon does nothing while a dialog is open; its entries open links and the new link
    // dialog, and Exit shows the window before asking to save.
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
        menuEntry(menu, {"Launch", "Work", "Mail"})->trigger();
        menu.close();
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://mail.example/"));

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

VELLORIA_GUI_TEST(TrayTest)
#include "TrayTest.moc"
