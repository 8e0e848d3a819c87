#include "SampleLibrary.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace velloria::test {

void writeSampleLibrary(const TempHome& home)
{
    home.makeLibraryDirectories();
    home.write("folders.wnf",
               crlf({"Main", "\tRecipes", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria", "\tArchive"}));
    home.write("foldst.wnf", crlf({"0", "True", "False", "2", "False", "True"}));
    home.write("folddesc.wnf", crlf({"Work", "Things for the office", "Caf\xE9", "Coffee places"}));
    home.write("Links/Work.wnl",
               crlf({"0 Velloria home", "1 https://velloria.example/", "2 2024.5.1", "3 2023.1.2",
                     "4 Where it all starts",
                     "0 Mail", "1 https://mail.example/", "2 ", "3 2022.7.8", "4 Daily",
                     "0 Wiki", "1 https://wiki.example/", "2 2024.6.1", "3 2021.3.4", "4 Team notes"}));
    home.write("Links/Caf\xE9.wnl",
               crlf({"0 Caf\xE9 Central", "1 https://cafe.example/", "2 2024.2.3", "3 2020.1.1", "4 Best in town"}));
}

SampleWindow::SampleWindow()
{
    writeSampleLibrary(home);
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

QString SampleWindow::description() const
{
    return form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"))->toPlainText();
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

} // namespace velloria::test
