#pragma once

#include "base/Clock.h"
#include "gui/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "settings/PreferenceRecord.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>

namespace velloria::test {

// Fails the running test at a modal window that no test answers, and closes it.
std::unique_ptr<QObject> unexpectedDialogWatchdog();

using Adjust = std::function<void(TPreferences&)>;

// Tessel.cfg: the defaults, sorted by title, the window at 40, 30, 760 x 520, the columns
// 150, 260, 90, 90, a folder pane of 210 and a description pane of 80, changed by adjust.
void writeSamplePreferences(const TempHome& home, const Adjust& adjust = {});
bool preferencesHold(const TempHome& home, const std::string& line);

// The main form with the question at close answered by the test.
class AnsweringForm : public MainForm {
public:
    using MainForm::MainForm;
    Answer ask(const std::string& question) override
    {
        questions << QString::fromStdString(question);
        return answer;
    }

    Answer answer = Answer::Cancel;
    QStringList questions;
};

// A main window over a fresh sample library, saved once, its browser a recorder:
//   0 Main (expanded)      3 Work (2 subfolders, 3 links, a description)
//   1   Recipes            4   Projects
//   2   Caf\xE9 (selected)  5     Velloria
//                          6   Archive (1 link with an address without a scheme)
// "Caf\xE9" is a Windows-1252 name, as older libraries have them.
struct SampleWindow {
    explicit SampleWindow(const Adjust& adjust = {});
    // The program's start. False when an unexpected dialog came up and failed the test.
    [[nodiscard]] bool start()
    {
        form.run([this] { model.lifecycle().FormCreate(); });
        return !QTest::currentTestFailed();
    }

    QTreeView* folderView() const { return form.findChild<QTreeView*>(QStringLiteral("trvFolders")); }
    QTableView* linkView() const { return form.findChild<QTableView*>(QStringLiteral("lvReferences")); }
    QAbstractItemModel* folderModel() const { return folderView()->model(); }
    QAbstractItemModel* linkModel() const { return linkView()->model(); }
    QAction* action(const char* command) const { return form.findChild<QAction*>(QString::fromLatin1(command)); }
    void trigger(const char* command) const { action(command)->trigger(); }
    QModelIndex folderItem(const QString& path) const; // "Work/Projects"
    QString currentFolder() const { return folderView()->currentIndex().data().toString(); }
    QString statusPanel(int panel) const
    {
        return form.findChild<QLabel*>(QStringLiteral("MainStatusBarPanel%1").arg(panel))->text();
    }
    QString description() const { return form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"))->toPlainText(); }
    QString opened() const; // what the browser was asked to open, "; " between
    QString tilde(QString text) const // the home directory written "~"
    {
        return text.replace(QString::fromStdString(home.path().string()), QStringLiteral("~"));
    }

    TempHome home;
    FixedClock clock{Date{2024, 6, 1}};
    RecordingUrlOpener browser;
    MainWindowModel model{home.path(), clock, browser, home.path()};
    AnsweringForm form{model};
};

// Shows the window and waits until it is active, so that focus and shortcuts work.
bool showActive(QWidget& window);
// The tree as indented names, two blanks a level.
QStringList treeLines(const QAbstractItemModel& model, const QModelIndex& parent = {}, int depth = 0);
// The rows of a table as "title | address | last visit | add date".
QStringList rowLines(const QAbstractItemModel& model);
QStringList headerCaptions(const QAbstractItemModel& model);

// The dialogs being answered; the watchdog fails the test at any other modal window.
inline QList<QPointer<QWidget>> answeredDialogs;

// "caption" of a dialog, "caption: text" of a message box.
inline QString dialogText(QWidget& dialog)
{
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    return dialog.windowTitle() + (box ? ": " + box->text() : QString());
}

// Answers each modal Dialog that comes up while it lives with answer, then closes it if the
// answer did not, so that a wrong answer fails the test instead of hanging it.
template <typename Dialog = QDialog> class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(Dialog&)> answer = {}) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || answeredDialogs.contains(dialog))
                return;
            answeredDialogs << dialog;
            shown << dialogText(*dialog);
            if (m_answer)
                m_answer(*dialog);
            closedByAnswer += dialog->isVisible() ? 0 : 1;
            if (dialog->isVisible())
                dialog->reject();
            answeredDialogs.removeAll(dialog);
        });
        m_timer.start(10);
    }

    QStringList shown; // each as dialogText shows it
    int closedByAnswer = 0;

private:
    std::function<void(Dialog&)> m_answer;
    QTimer m_timer;
};

// Runs open, which is to open a modal Form, answers it once active; whether the answer closed it.
template <typename Form> bool answerDialog(const std::function<void()>& open, const std::function<void(Form&)>& answer)
{
    const ModalAnswerer<Form> answerer([&](Form& form) {
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        answer(form);
    });
    open();
    return answerer.closedByAnswer == 1;
}

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

} // namespace velloria::test
