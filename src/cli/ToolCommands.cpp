// Commands for searching the library and for its statistics.

#include "base/Text.h"
#include "cli/CommandTable.h"
#include "mainwindow/MainWindowModel.h"
#include "mainwindow/StatisticsLines.h"
#include "platform/SystemInfo.h"

#include <ostream>

namespace velloria {

namespace {

void printMatch(Invocation& call, const MainWindowModel& model)
{
    const SearchMatch& match = *model.search().session().lastMatch();
    call.out() << static_cast<int>(match.place) << '\t' << toUtf8(model.library().folderTree()[match.folder].Name) << '\t'
               << (match.row == MainWindowModel::npos ? std::string() : std::to_string(match.row)) << '\t'
               << match.position << '\t' << toUtf8(match.field) << '\n';
}

// Every match in the order that Find and then Find Again, again and again, show them.
void find(Invocation& call)
{
    MainWindowModel& model = call.model();
    model.setLookOnly(true);
    if (!model.search().Find(call.operands[0]))
        return;
    printMatch(call, model);
    while (model.search().SearchAgain())
        printMatch(call, model);
}

void statistics(Invocation& call)
{
    MainWindowModel& model = call.model();
    const LibraryStatistics figures = computeStatistics(model.library());
    const StatisticsLines lines = statisticsLines(figures, model.texts(), thousandsSeparator());
    call.out() << toUtf8(lines.folders) << '\n'
               << toUtf8(lines.links) << '\n'
               << toUtf8(lines.databaseSize) << '\n'
               << toUtf8(lines.freeSpace) << '\n';
    if (!figures.error.empty()) {
        call.context.err << figures.error << '\n';
        call.status = 1;
    }
}

} // namespace

std::vector<CliCommand> toolCommands()
{
    return {
        {"find", "find TEXT",
         "every match: place (0-4), folder, row, position, field; in the order Find Again shows them", 1, 1, {}, find},
        {"stats", "stats", "the four figures of the statistics", 0, 0, {}, statistics},
    };
}

} // namespace velloria
