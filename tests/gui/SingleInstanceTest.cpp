#include "GuiTests.h"

#include "gui/SingleInstance.h"
#include "support/TempHome.h"

#include <QTest>
#include <QWidget>

using namespace velloria;

namespace {

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondCopyShowsTheFirstCopysWindow()
    {
        test::TempHome home;
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
        test::TempHome home;
        InstanceLock commandLineTool(InstanceLock::lockFileFor(home.path()));
        QCOMPARE(commandLineTool.tryAcquire(), InstanceLock::Result::Acquired);
        QCOMPARE(SingleInstance(home.path()).start(), SingleInstance::Start::NoAnswer);
    }
};

} // namespace

VELLORIA_GUI_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
