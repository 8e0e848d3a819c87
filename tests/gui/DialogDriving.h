#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace velloria::test {

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
        const auto cancelIfOpen = qScopeGuard([&] {
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

// Answers each message box that comes up while it lives, from whatever dialog it comes, with
// answer; it records each box as "caption: text".
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::function<void(QMessageBox&)> answer = {}) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            boxes << box->windowTitle() + ": " + box->text();
            if (m_answer)
                m_answer(*box);
            box->done(QMessageBox::Ok);
        });
        m_timer.start(10);
    }

    QStringList boxes;

private:
    std::function<void(QMessageBox&)> m_answer;
    QTimer m_timer;
};

template <typename Control = QWidget> Control* control(QWidget& dialog, const char* name)
{
    auto* found = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// What the dialog shows: its title, then "name: text" of each named control with a text.
inline QStringList captions(QWidget& dialog)
{
    QStringList lines{dialog.windowTitle()};
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(child))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(child))
            text = button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(child))
            text = group->title();
        if (!child->objectName().isEmpty() && !text.isEmpty())
            lines << child->objectName() + ": " + text;
    }
    return lines;
}

} // namespace velloria::test
