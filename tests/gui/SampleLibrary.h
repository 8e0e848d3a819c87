#pragma once

#include "base/Clock.h"
#include "gui/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "settings/PreferenceRecord.h"
#include "support/TempHome.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>
#include <QTableView>
#include <QTreeView>

#include <functional>

namespace velloria::test {

using Adjust = std::function<void(TPreferences&)>;

// Tessel.cfg: the defaults, sorted by title, with the window's bounds 40, 30, 760 x 520, the
// columns 150, 260, 90, 90, a folder pane of 210 and a description pane of 80, changed by adjust.
void writeSamplePreferences(const TempHome& home, const Adjust& adjust = {});
// Whether Tessel.cfg holds the line ("024 40").
bool preferencesHold(const TempHome& home, const std::string& line);

// The main form with the question at close answered by the test; its notices are real message
// boxes, which a test answers with a ModalAnswerer.
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

// A main window over a fresh copy of the sample library, saved once, its browser a recorder:
//   0 Main (expanded)      3 Work (2 subfolders, 3 links, a description)
//   1   Recipes            4   Projects
//   2   Caf\xE9 (selected)  5     Velloria
//                          6   Archive (1 link with an address without a scheme)
// "Caf\xE9" is a Windows-1252 name, as older libraries have them.
struct SampleWindow {
    explicit SampleWindow(const Adjust& adjust = {});
    // The program's start: preferences, texts, layout and the library. False when an unexpected
    // dialog came up and failed the test, which then stops.
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
    QString selectedTitles() const; // "Mail, Wiki"
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
// The header captions of a table.
QStringList headerCaptions(const QAbstractItemModel& model);

} // namespace velloria::test
