#pragma once

#include "base/Clock.h"
#include "gui/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/UrlOpener.h"
#include "settings/PreferenceRecord.h"
#include "support/TempHome.h"

#include <QStringList>
#include <QTableView>
#include <QTreeView>

#include <functional>

class QAction;

namespace velloria::test {

using Adjust = std::function<void(TPreferences&)>;

// The library most GUI tests start from, written byte for byte as the program's files hold it,
// saved once (the "~" files equal the working files):
//   0 Main (expanded)      3 Work (2 subfolders, 3 links, a description)
//   1   Recipes            4   Projects
//   2   Caf\xE9 (selected)  5     Velloria
//                          6   Archive (1 link with an address without a scheme)
// "Caf\xE9" is a Windows-1252 name, as older libraries have them.
void writeSampleLibrary(const TempHome& home);

// Tessel.cfg: the defaults, sorted by title, with the window's bounds 40, 30, 760 x 520, the
// columns 150, 260, 90, 90, a folder pane of 210 and a description pane of 80, changed by adjust.
void writeSamplePreferences(const TempHome& home, const Adjust& adjust = {});
std::string readPreferences(const TempHome& home);
// Whether Tessel.cfg holds the line ("024 40").
bool preferencesHold(const TempHome& home, const std::string& line);

// The main form with the question at close answered by the test, and its notices recorded
// instead of shown (unless showMessages asks for the real message box).
class AnsweringForm : public MainForm {
public:
    using MainForm::MainForm;
    Answer ask(const std::string& question) override;
    void message(const std::string& text) override;

    Answer answer = Answer::Cancel;
    QStringList questions;
    QStringList messages;
    bool showMessages = false;
};

// A main window over a fresh copy of the sample library, its browser a recorder.
struct SampleWindow {
    explicit SampleWindow(const Adjust& adjust = {});
    // The program's start: preferences, texts, layout and the library.
    void start() { form.run([this] { model.lifecycle().FormCreate(); }); }
    // Writes Deutsch.lng with the entries ("313 Gut") and makes it the language in use.
    void useLanguage(std::initializer_list<std::string_view> entries, const Adjust& adjust = {});

    QTreeView* folderView() const { return form.findChild<QTreeView*>(QStringLiteral("trvFolders")); }
    QTableView* linkView() const { return form.findChild<QTableView*>(QStringLiteral("lvReferences")); }
    QAbstractItemModel* folderModel() const { return folderView()->model(); }
    QAbstractItemModel* linkModel() const { return linkView()->model(); }
    QAction* action(const char* command) const;
    void trigger(const char* command) const;
    QModelIndex folderItem(const QString& path) const; // "Work/Projects"
    QString currentFolder() const { return folderView()->currentIndex().data().toString(); }
    QString selectedTitles() const; // "Mail, Wiki"
    QString statusPanel(int panel) const;
    QStringList statusTexts() const;
    QString description() const;
    QString opened() const; // what the browser was asked to open, "; " between
    QString tilde(QString text) const; // the home directory written "~"

    TempHome home;
    FixedClock clock{Date{2024, 6, 1}};
    RecordingUrlOpener browser;
    MainWindowModel model{home.path(), clock, browser, home.path()};
    AnsweringForm form{model};
};

// Shows the window and waits until it is active, so that focus and shortcuts work.
bool showActive(QWidget& window);

// The tree as indented names, two blanks a level.
QStringList treeLines(const QAbstractItemModel& model);
// The rows of a table as "title | address | last visit | add date".
QStringList rowLines(const QAbstractItemModel& model);
// The header captions of a table.
QStringList headerCaptions(const QAbstractItemModel& model);

} // namespace velloria::test
