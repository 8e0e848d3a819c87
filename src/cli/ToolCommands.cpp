// Commands for searching the library and for its statistics.

#include "base/Text.h"
#include "cli/CommandTable.h"
#include "cli/TerminalProgress.h"
#include "mainwindow/DuplicatesDialog.h"
#include "mainwindow/LinkCheckDialog.h"
#include "mainwindow/MainWindowModel.h"
#include "mainwindow/StatisticsLines.h"
#include "platform/SystemInfo.h"
#include "tools/LinkFilter.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <thread>

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

// The links whose title, address or description hold every word given, as the filter above the
// link list finds them: folder path, title, address, in tree order.
void filter(Invocation& call)
{
    MainWindowModel& model = call.model();
    std::string text;
    for (const std::string& word : call.operands)
        text += word + ' ';
    LinkIndex index;
    index.refresh(model.library());
    for (const std::uint32_t i : index.match(FilterWords(text))) {
        const LinkIndex::Link link = index.at(i);
        call.out() << toUtf8(index.folderPath(i)) << '\t' << toUtf8(link.link.Title) << '\t'
                   << toUtf8(link.link.Address) << '\n';
    }
    for (const std::string& problem : index.problems()) {
        call.context.err << toUtf8(problem) << '\n';
        call.status = 1;
    }
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

// A number of the option's value within [least, most], as range says.
double numberOption(const Invocation& call, const std::string& name, double least, double most, const char* range)
{
    const std::string& value = call.options.at(name);
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(number) || number < least
        || number > most)
        throw Error(name + " takes " + range + ", not \"" + value + "\"");
    return number;
}

// Checks the links of a folder (with --recursive its subfolders too) or of the whole library, as
// Check Links does, and prints one line per link checked, in tree order. Exit status 3 when one
// is Broken or has an Error.
void checkLinks(Invocation& call)
{
    MainWindowModel& model = call.model();
    HttpCheckOptions options;
    if (call.hasOption("--jobs"))
        options.jobs = static_cast<std::size_t>(numberOption(call, "--jobs", 1, 64, "a number from 1 to 64"));
    if (call.hasOption("--timeout")) {
        options.timeout = std::chrono::milliseconds(std::lround(numberOption(call, "--timeout", 0.1, 600, "seconds from 0.1 to 600") * 1000));
        options.connectTimeout = std::min(options.connectTimeout, options.timeout);
    }
    if (call.hasOption("--connect-timeout"))
        options.connectTimeout = std::chrono::milliseconds(
            std::lround(numberOption(call, "--connect-timeout", 0.1, 600, "seconds from 0.1 to 600") * 1000));
    LinkCheckDialog dialog(model);
    dialog.setWholeLibrary(call.operands.empty());
    if (!call.operands.empty())
        dialog.setFolder(findFolder(model.library().folderTree(), call.operands[0]));
    dialog.setSubfolders(call.hasOption("--recursive"));
    dialog.start(options);
    TerminalProgress progress(call.context);
    const ProgressFunction report = progress.function();
    while (!dialog.collect()) {
        if (report)
            report(dialog.done(), dialog.total());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    static constexpr const char* kWords[] = {"Broken", "Moved", "Error", "OK"};
    bool failing = false;
    for (std::size_t i = 0; i < dialog.linkCount(); ++i) {
        const LinkCheck& check = dialog.check(i);
        if (check.result == CheckResult::NotChecked)
            continue;
        failing = failing || check.result == CheckResult::Broken || check.result == CheckResult::Error;
        using Column = LinkCheckDialog::Column;
        call.out() << kWords[static_cast<int>(check.result)] << '\t' << check.status << '\t'
                   << toUtf8(dialog.text(i, Column::Folder)) << '\t' << toUtf8(dialog.text(i, Column::Title)) << '\t'
                   << toUtf8(dialog.text(i, Column::Address)) << '\t' << check.finalAddress << '\t'
                   << toUtf8(dialog.text(i, Column::Details)) << '\n';
    }
    for (const std::string& problem : dialog.problems())
        call.context.err << toUtf8(problem) << '\n';
    call.status = !dialog.problems().empty() ? 1 : failing ? 3 : 0;
}

} // namespace

std::vector<CliCommand> toolCommands()
{
    return {
        {"find", "find TEXT",
         "every match: place (0-4), folder, row, position, field; in the order Find Again shows them", 1, 1, {}, find, {kTextValue}},
        {"filter", "filter WORD...",
         "the links whose title, address or description hold every word, case and accents aside: folder path, "
         "title, address",
         1, static_cast<std::size_t>(-1), {}, filter},
        {"duplicates", "duplicates [--loose] [--delete] [--no-save]",
         "links in the library more than once: group, folder path, title, address, keep or delete; --delete "
         "deletes the proposed ones and saves unless --no-save",
         0, 0, {{"--loose"}, {"--delete"}, {"--no-save"}}, duplicates},
        {"check-links", "check-links [FOLDER] [--recursive] [--jobs N] [--timeout S] [--connect-timeout S]",
         "checks the web links of a folder (with --recursive its subfolders too) or of the whole library: result, "
         "HTTP status, folder path, title, address, final address, details; exit status 3 when a link is Broken "
         "or has an Error",
         0, 1, {{"--recursive"}, {"--jobs", true}, {"--timeout", true}, {"--connect-timeout", true}}, checkLinks, {kFolderValue}},
        {"stats", "stats", "the four figures of the statistics", 0, 0, {}, statistics},
    };
}

} // namespace velloria
