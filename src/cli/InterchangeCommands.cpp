// Import, export and the HTML page from the command line, through the drivers of the dialogs.

#include "base/Error.h"
#include "base/Text.h"
#include "cli/CommandTable.h"
#include "cli/TerminalProgress.h"
#include "interchange/Export.h"
#include "interchange/HtmlPage.h"
#include "interchange/Import.h"
#include "mainwindow/MainWindowModel.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>

namespace velloria {

namespace {

ImportSource formatNamed(const std::string& name)
{
    if (name == "netscape")
        return ImportSource::Netscape;
    if (name == "opera")
        return ImportSource::Opera;
    if (name == "ie")
        return ImportSource::InternetExplorer;
    throw Error("Unknown format \"" + name + "\": use netscape, opera or ie");
}

void importCommand(Invocation& call)
{
    const ImportSource source = formatNamed(call.operands[0]);
    // The driver reads a missing source as an empty one, which suits the window, whose pickers
    // offer only what exists; a path typed on the command line may be mistyped.
    const std::string& location = call.operands[1];
    std::error_code error;
    if (!std::filesystem::exists(location, error))
        throw Error("Nothing was imported: \"" + location + "\" does not exist");
    call.lockForChange();
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    ImportReport report;
    {
        TerminalProgress progress(call.context);
        report = importSource(model, source, location, progress.function());
    }
    // The summary goes to the error stream, so that the output stays the folder's name alone.
    for (const std::string& line : importSummary(model.texts(), report.counts))
        call.context.err << line << '\n';
    if (!call.hasOption("--no-save"))
        model.lifecycle().saveLibrary();
    call.out() << toUtf8(report.topFolder) << '\n';
}

void exportCommand(Invocation& call)
{
    const ImportSource target = formatNamed(call.operands[0]);
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    TerminalProgress progress(call.context);
    exportTarget(model, target, call.operands[1], progress.function());
}

void htmlCommand(Invocation& call)
{
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    std::optional<std::size_t> onlyFolder;
    if (call.hasOption("--folder"))
        onlyFolder = findFolder(model.library().folderTree(), call.options.at("--folder"));
    TerminalProgress progress(call.context);
    writeHtmlPage(model.library(), model.prefs(), call.operands[0], onlyFolder, defaultColourResolver,
                  progress.function());
}

} // namespace

std::vector<CliCommand> interchangeCommands()
{
    return {
        {"import", "import netscape|opera|ie PATH [--no-save]",
         "import a bookmark HTML file, a hotlist or a favorites directory into a new top-level folder; "
         "prints its name, and on the error stream what was imported and skipped",
         2, 2, {{"--no-save"}}, importCommand},
        {"export", "export netscape|opera|ie PATH", "export the whole library (saved links) to PATH", 2, 2, {},
         exportCommand},
        {"html", "html PATH [--folder NAME]", "write the library, or one folder, as an HTML page", 1, 1,
         {{"--folder", true}}, htmlCommand},
    };
}

} // namespace velloria
