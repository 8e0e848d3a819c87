#include "SampleLibrary.h"

#include "gui/QtText.h"
#include "platform/FileIO.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace velloria::test {

void writeSampleLibrary(const TempHome& home)
{
    home.makeLibraryDirectories();
    const std::string tree =
        crlf({"Main", "\tRecipes", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria", "\tArchive"});
    const std::string descriptions = crlf({"Work", "Things for the office", "Caf\xE9", "Coffee places"});
    const std::string work =
        crlf({"0 Velloria home", "1 https://velloria.example/", "2 2024.5.1", "3 2023.1.2", "4 Where it all starts",
              "0 Mail", "1 https://mail.example/", "2 ", "3 2022.7.8", "4 Daily",
              "0 Wiki", "1 https://wiki.example/", "2 2024.6.1", "3 2021.3.4", "4 Team notes"});
    const std::string cafe =
        crlf({"0 Caf\xE9 Central", "1 https://cafe.example/", "2 2024.2.3", "3 2020.1.1", "4 Best in town"});
    const std::string archive = crlf({"0 Old forum", "1 www.forum.example/board", "2 ", "3 2019.4.5", "4 Read only"});
    for (const char* ext : {"wnf", "~wnf"}) {
        home.write(std::string("folders.") + ext, tree);
        home.write(std::string("folddesc.") + ext, descriptions);
    }
    for (const char* ext : {".wnl", ".~wnl"}) {
        home.write(std::string("Links/Work") + ext, work);
        home.write(std::string("Links/Caf\xE9") + ext, cafe);
        home.write(std::string("Links/Archive") + ext, archive);
    }
    home.write("foldst.wnf", crlf({"0", "True", "False", "2", "False", "True"}));
}

void writeSamplePreferences(const TempHome& home, const Adjust& adjust)
{
    TPreferences prefs;
    SetDefaultPreferences(prefs, home.path());
    prefs.SortMode = 0;
    prefs.MainLeft = 40;
    prefs.MainTop = 30;
    prefs.MainWidth = 760;
    prefs.MainHeight = 520;
    prefs.ColumnWidthTitle = 150;
    prefs.ColumnWidthAddress = 260;
    prefs.ColumnWidthLastVisit = 90;
    prefs.ColumnWidthAddDate = 90;
    prefs.FolderPaneWidth = 210;
    prefs.DescriptionHeight = 80;
    if (adjust)
        adjust(prefs);
    writeFileAtomically(home.path() / "Tessel.cfg", writePreferencesFile(prefs));
}

std::string readPreferences(const TempHome& home)
{
    return readFile(home.path() / "Tessel.cfg");
}

bool preferencesHold(const TempHome& home, const std::string& line)
{
    return readPreferences(home).find("\r\n" + line + "\r\n") != std::string::npos;
}

Answer AnsweringForm::ask(const std::string& question)
{
    questions << toQString(question);
    return answer;
}

void AnsweringForm::message(const std::string& text)
{
    messages << toQString(text);
    if (showMessages)
        MainForm::message(text);
}

SampleWindow::SampleWindow(const Adjust& adjust)
{
    writeSampleLibrary(home);
    writeSamplePreferences(home, adjust);
}

void SampleWindow::useLanguage(std::initializer_list<std::string_view> entries, const Adjust& adjust)
{
    std::string file = crlf({"000 1.0", "001 Deutsch"});
    for (std::string_view entry : entries)
        file += crlf({entry});
    home.write("Deutsch.lng", file);
    writeSamplePreferences(home, [&](TPreferences& prefs) {
        prefs.LanguageFile = (home.refLib() / "Deutsch.lng").string();
        if (adjust)
            adjust(prefs);
    });
}

QAction* SampleWindow::action(const char* command) const
{
    return form.findChild<QAction*>(QString::fromLatin1(command));
}

void SampleWindow::trigger(const char* command) const
{
    action(command)->trigger();
}

QString SampleWindow::selectedTitles() const
{
    QModelIndexList rows = linkView()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList titles;
    for (const QModelIndex& row : rows)
        titles << row.data().toString();
    return titles.join(QStringLiteral(", "));
}

QString SampleWindow::opened() const
{
    QStringList targets;
    for (const std::string& target : browser.opened)
        targets << tilde(toQString(target));
    return targets.join(QStringLiteral("; "));
}

QString SampleWindow::tilde(QString text) const
{
    return text.replace(QString::fromStdString(home.path().string()), QStringLiteral("~"));
}

QModelIndex SampleWindow::folderItem(const QString& path) const
{
    QModelIndex item;
    for (const QString& name : path.split(u'/')) {
        const QModelIndexList found = folderModel()->match(folderModel()->index(0, 0, item), Qt::DisplayRole, name, 1,
                                                           Qt::MatchExactly);
        item = found.value(0);
    }
    return item;
}

QString SampleWindow::statusPanel(int panel) const
{
    return form.findChild<QLabel*>(QStringLiteral("MainStatusBarPanel%1").arg(panel))->text();
}

QStringList SampleWindow::statusTexts() const
{
    QStringList texts;
    for (int panel = 0; panel < static_cast<int>(kStatusPanelCount); ++panel)
        texts << statusPanel(panel);
    return texts;
}

QString SampleWindow::description() const
{
    return form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"))->toPlainText();
}

bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

static void appendTreeLines(const QAbstractItemModel& model, const QModelIndex& parent, int depth, QStringList& lines)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        lines << QString(depth * 2, u' ') + item.data().toString();
        appendTreeLines(model, item, depth + 1, lines);
    }
}

QStringList treeLines(const QAbstractItemModel& model)
{
    QStringList lines;
    appendTreeLines(model, {}, 0, lines);
    return lines;
}

QStringList rowLines(const QAbstractItemModel& model)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << cells.join(QStringLiteral(" | "));
    }
    return lines;
}

QStringList headerCaptions(const QAbstractItemModel& model)
{
    QStringList captions;
    for (int column = 0; column < model.columnCount(); ++column)
        captions << model.headerData(column, Qt::Horizontal).toString();
    return captions;
}

} // namespace velloria::test
