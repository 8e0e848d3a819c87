// The notification-area icon: the program without a tray, the window shown and hidden by the
// icon, minimizing into it, starting hidden, and its menu as Qt menus.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/NewItemForm.h"
#include "gui/TrayIcon.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSystemTrayIcon>

#include <memory>

using namespace velloria;
using namespace velloria::test;

namespace {

const auto kTray = [] { return true; };

// The sample window started as the program starts it, with a tray or without one.
void startWindow(SampleWindow& window, bool withTray, const Adjust& adjust = {})
{
    writeSamplePreferences(window.home, adjust);
    window.start();
    window.form.showAtStart(withTray ? std::function<bool()>(kTray) : std::function<bool()>());
}

void clickIcon(const SampleWindow& window, QSystemTrayIcon::ActivationReason reason)
{
    emit window.form.trayIcon()->icon().activated(reason);
}

void minimize(QWidget& form)
{
    form.setWindowState(form.windowState() | Qt::WindowMinimized);
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

QString entryTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join(QStringLiteral(", "));
}

class TrayTest : public QObject {
    Q_OBJECT

private slots:
    void withoutATrayTheProgramRunsAsUsual()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // offscreen
        SampleWindow window;
        startWindow(window, false);
        QVERIFY(window.form.isVisible() && !window.form.trayIcon() && !window.form.findChild<QSystemTrayIcon*>());
        QVERIFY(!window.model.flags().TrayIconCreated);
        minimize(window.form);
        QTest::qWait(20);
        QVERIFY(window.form.isVisible() && window.form.isMinimized());
    }

    void theIconComesOnlyWhenThePreferencesAskForItAndGoesWithTheWindow()
    {
        SampleWindow without;
        startWindow(without, true, [](TPreferences& prefs) { prefs.CreateTrayIcon = false; });
        QVERIFY(!without.form.trayIcon() && !without.model.flags().TrayIconCreated);

        SampleWindow with;
        startWindow(with, true);
        QVERIFY(with.model.flags().TrayIconCreated);
        const QSystemTrayIcon& icon = with.form.trayIcon()->icon();
        QVERIFY(icon.isVisible() && !icon.icon().isNull());
        QCOMPARE(icon.toolTip(), QStringLiteral("Velloria"));
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
        clickIcon(withTray, QSystemTrayIcon::Trigger);
        QVERIFY(withTray.form.isVisible());
    }

    void aLeftClickShowsOrHidesTheWindowAndMinimizingHidesIt()
    {
        SampleWindow window;
        startWindow(window, true, [](TPreferences& prefs) { prefs.MainMaximized = true; });
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible());
        minimize(window.form);
        QTRY_VERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible() && !window.form.isMinimized());
        QVERIFY(window.form.isMaximized()); // it comes back as it was
    }

    void theIconDoesNothingWhileADialogIsOpen()
    {
        SampleWindow window;
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        bool visibleAfterClick = false;
        bool menuOpened = true;
        QVERIFY(!answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm&) {
            clickIcon(window, QSystemTrayIcon::Trigger);
            visibleAfterClick = window.form.isVisible();
            clickIcon(window, QSystemTrayIcon::Context);
            menuOpened = menu.isVisible();
        }));
        QVERIFY(visibleAfterClick && !menuOpened);
        {
            const MainWindowModel::ModalWindow open(window.model); // a window that is not modal to Qt
            clickIcon(window, QSystemTrayIcon::Trigger);
            QVERIFY(window.form.isVisible());
        }
        clickIcon(window, QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        menu.close();
    }

    void theMenuEntriesOpenLinksAndTheNewLinkDialog()
    {
        SampleWindow window;
        startWindow(window, true);
        QMenu& menu = window.form.trayIcon()->menu();
        clickIcon(window, QSystemTrayIcon::Context);
        QCOMPARE(entryTexts(menu), QStringLiteral("Show Main Window, &Preferences..., -, Launch, -, Add to Folder, -, "
                                                  "E&xit"));
        QAction* work = menuEntry(menu, {"Launch", "Work"});
        work->menu()->popup(QPoint(0, 0));
        QCOMPARE(entryTexts(*work->menu()), QStringLiteral("Velloria home, Mail, Wiki, Projects, Archive"));
        menuEntry(menu, {"Launch", "Work", "Mail"})->trigger();
        menu.close();
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://mail.example/"));

        QApplication::clipboard()->setText(QStringLiteral("https://clip.example/page\n"));
        QString address;
        const auto choose = [&] {
            menuEntry(menu, {"Add to Folder", "Work", "Projects", "<<Projects>>"})->trigger();
            menu.close();
        };
        QVERIFY(answerDialog<NewItemForm>(choose, [&](NewItemForm& dialog) {
            address = control<QLineEdit>(dialog, "edAddress")->text();
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Clip"));
            click(dialog, "btnOK");
        }));
        QCOMPARE(address, QStringLiteral("https://clip.example/page"));
        QVERIFY(window.home.read("Links/Projects.wnl").starts_with("0 Clip\r\n1 https://clip.example/page\r\n"));
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
        QVERIFY(recipes->height() <= recipes->screen()->availableGeometry().height());
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
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        QAction* exit = window.form.trayIcon()->menu().findChild<QAction*>(QStringLiteral("trayExit"));
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

VELLORIA_GUI_TEST(TrayTest)
#include "TrayTest.moc"
