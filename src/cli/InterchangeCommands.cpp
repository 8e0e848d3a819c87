// Import, export and the HTML page from the command line, through the drivers of the dialogs.

#include "base/Error.h"
#include "base/Text.h"
#include "cli/CommandTable.h"
#include "cli/TerminalProgress.h"
#include "interchange/BrowserProfiles.h"
#include "interchange/Export.h"
#include "interchange/HtmlPage.h"
#include "interchange/Import.h"
#include "mainwindow/MainWindowModel.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>

namespace velloria {

namespace {

// The file formats by the names the commands take, in the order the usage lists them; the
// browsers follow them for an import.
const std::pair<std::string, ImportSource> kFileFormats[] = {{"netscape", ImportSource::Netscape},
                                                             {"opera", ImportSource::Opera},
                                                             {"ie", ImportSource::InternetExplorer},
                                                             {"xbel", ImportSource::Xbel}};

std::vector<std::string> formatNames(bool browsersToo)
{
    std::vector<std::string> names;
    for (const auto& format : kFileFormats)
        names.push_back(format.first);
    if (browsersToo)
        names.insert(names.end(), {"firefox", "chromium"});
    return names;
}

ImportSource formatNamed(const std::string& name, bool browsersToo)
{
    for (const auto& [formatName, source] : kFileFormats)
        if (name == formatName)
            return source;
    const std::vector<std::string> names = formatNames(browsersToo);
    std::string known;
    for (std::size_t i = 0; i < names.size(); ++i)
        known += (i == 0 ? "" : i + 1 == names.size() && browsersToo ? " or " : ", ") + names[i];
    throw Error("Unknown format \"" + name + "\": use " + known);
}

// The profile an import of a browser means: the one at the path given, or the browser's default.
BrowserProfile profileToImport(BrowserKind kind, const Invocation& call)
{
    if (call.operands.size() > 1)
        return profileAt(kind, call.operands[1]);
    if (const std::optional<BrowserProfile> profile = defaultProfile(findBrowserProfiles(userBrowserPlaces()), kind))
        return *profile;
    const std::string browser = kind == BrowserKind::Firefox ? "Firefox" : "Chromium-based";
    throw Error("Nothing was imported: no " + browser
                + " browser's profile was found on this computer; give the path of a profile or of its bookmark file");
}

void importCommand(Invocation& call)
{
    // What is imported is settled before the library is touched: a browser's profile, or a file
    // that exists (the driver reads a missing file as an empty one, which suits the window, whose
    // pickers offer only what exists; a path typed on the command line may be mistyped).
    std::function<ImportReport(MainWindowModel&, const ProgressFunction&)> import;
    if (const std::optional<BrowserKind> browser = browserKindNamed(call.operands[0])) {
        import = [profile = profileToImport(*browser, call)](MainWindowModel& model, const ProgressFunction& progress) {
            return importProfile(model, profile, progress);
        };
    } else {
        const ImportSource source = formatNamed(call.operands[0], true);
        std::error_code error;
        if (call.operands.size() < 2)
            throw Error("Nothing was imported: give the path of the " + call.operands[0] + " file");
        if (!std::filesystem::exists(call.operands[1], error))
            throw Error("Nothing was imported: \"" + call.operands[1] + "\" does not exist");
        import = [source, location = call.operands[1]](MainWindowModel& model, const ProgressFunction& progress) {
            return importSource(model, source, location, progress);
        };
    }
    call.lockForChange();
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    ImportReport report;
    {
        TerminalProgress progress(call.context);
        report = import(model, progress.function());
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
    const ImportSource target = formatNamed(call.operands[0], false);
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    TerminalProgress progress(call.context);
    exportTarget(model, target, call.operands[1], progress.function());
}

// Each profile found: browser, profile, directory and the number of links an import would bring.
void browsersCommand(Invocation& call)
{
    for (const ProfileRow& row : profileRows(userBrowserPlaces())) {
        if (!row.links) {
            call.context.err << row.problem << '\n';
            call.status = 1;
        }
        call.out() << row.profile.browser << '\t' << row.profile.name << '\t' << row.profile.directory.string() << '\t'
                   << (row.links ? std::to_string(*row.links) : std::string(1, '?')) << '\n';
    }
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
        {"import", "import netscape|opera|ie|xbel PATH [--no-save] | import firefox|chromium [PATH] [--no-save]",
         "import a bookmark HTML file, a hotlist, a favorites directory, an XBEL file or a browser's profile (a "
         "profile directory, places.sqlite or Bookmarks; without PATH the browser's default profile) into a new "
         "top-level folder; prints its name, and on the error stream what was imported and skipped",
         1, 2, {{"--no-save"}}, importCommand, {{CliValue::Kind::Choice, formatNames(true)}, kPathValue}},
        {"export", "export netscape|opera|ie|xbel PATH", "export the whole library (saved links) to PATH", 2, 2, {},
         exportCommand, {{CliValue::Kind::Choice, formatNames(false)}, kPathValue}},
        {"browsers", "browsers",
         "list the browser profiles on this computer whose bookmarks can be imported: browser, profile, directory "
         "and number of links",
         0, 0, {}, browsersCommand},
        {"html", "html PATH [--folder NAME]", "write the library, or one folder, as an HTML page", 1, 1,
         {{"--folder", true, kFolderValue}}, htmlCommand, {kPathValue}},
    };
}

} // namespace velloria
