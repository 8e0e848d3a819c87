#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace velloria::test {

// The dialogs a test answers on purpose; any other modal window is closed by the watchdog of
// GuiTestMain.cpp, which fails the test. While a ModalAnswerer lives, it takes every one.
inline QList<QPointer<QWidget>> answeredDialogs;
inline int modalAnswerers = 0;

// "caption" of a dialog, "caption: text" of a message box.
inline QString dialogText(QWidget& dialog)
{
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    return dialog.windowTitle() + (box ? ": " + box->text() : QString());
}

// Runs open, which is to open a modal dialog of type Form, and answers it while it is open.
// Returns whether the answer closed the dialog; one still open afterwards is cancelled, so that
// a wrong answer fails the test instead of hanging it.
template <typename Form>
bool answerDialog(const std::function<void()>& open, const std::function<void(Form&)>& answer)
{
    bool closed = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        auto* form = qobject_cast<Form*>(QApplication::activeModalWidget());
        QVERIFY2(form, "the dialog did not open");
        answeredDialogs << form;
        const auto cancelIfOpen = qScopeGuard([&] {
            answeredDialogs.removeAll(form);
            closed = !form->isVisible();
            if (!closed)
                form->reject();
        });
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        answer(*form);
    });
    open();
    return closed;
}

// Answers each modal Dialog that comes up while it lives, from whatever window it comes, with
// answer, then closes it if the answer did not. It records each as dialogText shows it.
template <typename Dialog = QDialog> class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(Dialog&)> answer = {}) : m_answer(std::move(answer))
    {
        ++modalAnswerers;
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            shown << dialogText(*dialog);
            if (m_answer)
                m_answer(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_timer.start(10);
    }
    ~ModalAnswerer() { --modalAnswerers; }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    QStringList shown;

private:
    std::function<void(Dialog&)> m_answer;
    QTimer m_timer;
};

template <typename Control = QWidget> Control* control(QWidget& dialog, const char* name)
{
    auto* found = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline void click(QWidget& dialog, const char* name)
{
    QTest::mouseClick(control(dialog, name), Qt::LeftButton);
}

// The controls that Tab visits from the focused one, as far as the given count.
inline QStringList tabStops(QWidget& dialog, int count)
{
    QStringList stops{dialog.focusWidget()->objectName()};
    while (stops.size() < count) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        stops << dialog.focusWidget()->objectName();
    }
    return stops;
}

} // namespace velloria::test
