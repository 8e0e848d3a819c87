#pragma once

#include "mainwindow/MainForm.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/Clock.h"
#include "support/TempHome.h"

#include <QStringList>
#include <QTableView>
#include <QTreeView>

namespace velloria::test {

// The library most GUI tests start from, written byte for byte as the program's files hold it:
//   0 Main (expanded)      3 Work (2 subfolders, 3 links, a description)
//   1   Recipes            4   Projects
//   2   Caf\xE9 (selected)  5     Velloria
//                          6   Archive
// "Caf\xE9" is a Windows-1252 name, as older libraries have them.
void writeSampleLibrary(const TempHome& home);

// A main window over a fresh copy of the sample library.
struct SampleWindow {
    SampleWindow();
    void load() { form.run([this] { model.loadLibrary(RestoreFolderStates::Yes); }); }

    QTreeView* folderView() const { return form.findChild<QTreeView*>(QStringLiteral("trvFolders")); }
    QTableView* linkView() const { return form.findChild<QTableView*>(QStringLiteral("lvReferences")); }
    QAbstractItemModel* folderModel() const { return folderView()->model(); }
    QAbstractItemModel* linkModel() const { return linkView()->model(); }
    QModelIndex folderItem(const QString& path) const; // "Work/Projects"
    QString statusPanel(int panel) const;
    QString description() const;

    TempHome home;
    FixedClock clock{Date{2024, 6, 1}};
    MainWindowModel model{home.path(), clock};
    MainForm form{model};
};

// The tree as indented names, two blanks a level.
QStringList treeLines(const QAbstractItemModel& model);
// The rows of a table as "title | address | last visit | add date".
QStringList rowLines(const QAbstractItemModel& model);

} // namespace velloria::test
