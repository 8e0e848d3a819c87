#include "DialogDriving.h"
#include "GuiTests.h"

#include <QApplication>
#include <QTest>

std::vector<std::function<std::unique_ptr<QObject>()>>& velloria::test::guiTests()
{
    static std::vector<std::function<std::unique_ptr<QObject>()>> tests;
    return tests;
}

namespace {

// A modal window that no test answers and that is still open at the next look fails the running
// test, named by its caption and text, and is closed, so that the test goes on instead of hanging.
class ModalWatchdog : public QObject {
public:
    ModalWatchdog()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::look);
        m_timer.start(100);
    }

private:
    void look()
    {
        using namespace velloria::test;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modalAnswerers > 0 || answeredDialogs.contains(modal)) {
            m_seen = nullptr;
            return;
        }
        if (modal != m_seen) {
            m_seen = modal;
            return;
        }
        const QString message = "an unexpected dialog: " + dialogText(*modal);
        if (QTest::currentTestFunction())
            QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        else
            qCritical("%s", qPrintable(message));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_seen = nullptr;
    }

    QTimer m_timer;
    QPointer<QWidget> m_seen;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const ModalWatchdog watchdog;
    int failures = 0;
    for (const auto& make : velloria::test::guiTests())
        failures += QTest::qExec(make().get(), argc, argv);
    return failures == 0 ? 0 : 1;
}
