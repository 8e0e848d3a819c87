// Commands for searching the library and for its statistics.

#include "base/Text.h"
#include "cli/CommandTable.h"
#include "mainwindow/DuplicatesDialog.h"
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

// The links that are in the library more than once, one line per link of each group, or with
// --delete the proposal carried out, as Find Duplicates does both.
void duplicates(Invocation& call)
{
    const bool deleting = call.hasOption("--delete");
    if (deleting)
        call.lockForChange();
    MainWindowModel& model =
        call.model(deleting ? Invocation::WholeTree::Required : Invocation::WholeTree::NotRequired);
    model.flags().DuplicatesLoose = call.hasOption("--loose");
    DuplicatesDialog dialog(model);
    for (const std::string& problem : dialog.problems()) {
        call.context.err << problem << '\n';
        call.status = 1;
    }
    if (deleting) {
        const std::size_t removed = dialog.deleteChecked();
        if (removed > 0 && !call.hasOption("--no-save"))
            model.lifecycle().saveLibrary();
        call.out() << "Removed " << removed << (removed == 1 ? " link\n" : " links\n");
        return;
    }
    for (std::size_t group = 0; group < dialog.groups().size(); ++group)
        for (std::size_t member = 0; member < dialog.groups()[group].links.size(); ++member) {
            const LinkRecordView& link = dialog.link(group, member).link;
            call.out() << group + 1 << '\t' << toUtf8(dialog.folderPath(group, member)) << '\t' << toUtf8(link.Title)
                       << '\t' << toUtf8(link.Address) << '\t' << (dialog.checked(group, member) ? "delete" : "keep")
                       << '\n';
        }
}

} // namespace

std::vector<CliCommand> toolCommands()
{
    return {
        {"find", "find TEXT",
         "every match: place (0-4), folder, row, position, field; in the order Find Again shows them", 1, 1, {}, find},
        {"duplicates", "duplicates [--loose] [--delete] [--no-save]",
         "links in the library more than once: group, folder path, title, address, keep or delete; --delete "
         "deletes the proposed ones and saves unless --no-save",
         0, 0, {{"--loose"}, {"--delete"}, {"--no-save"}}, duplicates},
        {"stats", "stats", "the four figures of the statistics", 0, 0, {}, statistics},
    };
}

} // namespace velloria
