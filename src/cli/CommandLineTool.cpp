#include "cli/CommandLineTool.h"

#include "base/Error.h"
#include "cli/CommandTable.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "platform/HomeDirectory.h"
#include "platform/InstanceLock.h"
#include "platform/UrlOpener.h"
#include "settings/HomeSetup.h"
#include "base/Error.h"

#include <algorithm>
#include <ostream>

namespace velloria {

Invocation::Invocation(const CommandLineContext& context_, std::filesystem::path home_,
                       std::vector<std::string> operands_, std::map<std::string, std::string> options_)
    : context(context_), home(std::move(home_)), operands(std::move(operands_)), options(std::move(options_))
{
}

Invocation::~Invocation() = default;

void Invocation::lockForChange()
{
    if (m_lock)
        return;
    m_lock = std::make_unique<InstanceLock>(InstanceLock::lockFileFor(home));
    if (m_lock->tryAcquire() == InstanceLock::Result::HeldByAnother)
        throw Error("Velloria is running with the library in \"" + home.string()
                    + "\"; close it before changing the library from the command line");
    removeUnfinishedWrites(home);
}

MainWindowModel& Invocation::model(WholeTree wholeTree)
{
    if (m_model)
        return *m_model;
    m_opener = std::make_unique<DesktopUrlOpener>();
    m_model = std::make_unique<MainWindowModel>(home, context.clock, *m_opener, userHomeDirectory());
    try {
        m_model->preferences().LoadPreferences();
    } catch (const Error& error) {
        context.err << error.what() << '\n';
    }
    try {
        // The tree and states only: showing the selected folder would write its sorted order.
        m_model->library().OpenLibrary(m_model->prefs().RestoreFolderStates ? RestoreFolderStates::Yes
                                                                            : RestoreFolderStates::No);
    } catch (const Error& error) {
        context.err << error.what() << '\n';
        status = 1;
        if (wholeTree == WholeTree::Required)
            throw Error("Nothing was changed, because the library could not be read completely");
    }
    return *m_model;
}

const std::vector<CliCommand>& allCommands()
{
    static const std::vector<CliCommand> table = [] {
        std::vector<CliCommand> all = libraryCommands();
        for (auto* area : {editingCommands, interchangeCommands, toolCommands, settingsCommands})
            for (CliCommand& command : area())
                all.push_back(std::move(command));
        return all;
    }();
    return table;
}

const CliCommand* findCommand(const std::string& name)
{
    const auto it = std::find_if(allCommands().begin(), allCommands().end(),
                                 [&](const CliCommand& command) { return command.name == name; });
    return it == allCommands().end() ? nullptr : &*it;
}

const CliOption* CliCommand::optionNamed(const std::string& optionName) const
{
    const auto it = std::find_if(options.begin(), options.end(),
                                 [&](const CliOption& option) { return option.name == optionName; });
    return it == options.end() ? nullptr : &*it;
}

namespace {

void printUsage(std::ostream& out)
{
    out << "Usage: velloria-cli [--home DIR] COMMAND [ARGUMENTS]\n"
           "       velloria-cli COMMAND --help\n"
           "       velloria-cli --help | --version\n\nCommands:\n";
    for (const CliCommand& command : allCommands())
        out << "  " << command.usage << std::string(command.usage.size() < 28 ? 28 - command.usage.size() : 1, ' ')
            << command.summary << '\n';
    out << "\nOptions:\n"
           "  --home DIR                  the home directory whose library the command works on; without it,\n"
           "                              the program's home (the program's directory when it holds RefLib or\n"
           "                              Tessel.cfg, else $XDG_DATA_HOME/velloria, by default\n"
           "                              ~/.local/share/velloria)\n"
           "  -h, --help                  this text\n"
           "  --version                   the version of velloria-cli\n"
           "\nExit status: 0 done, 1 an error (on the error stream), 2 a usage error, 3 check-links found a\n"
           "link Broken or with an Error.\n";
}

void printCommandUsage(std::ostream& out, const CliCommand& command)
{
    out << "Usage: velloria-cli [--home DIR] " << command.usage << "\n\n" << command.summary << '\n';
}

int usageError(const CommandLineContext& context, const std::string& message)
{
    context.err << "velloria-cli: " << message << '\n';
    printUsage(context.err);
    return 2;
}

struct ParsedArguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;
    std::string problem;
    bool help = false; // COMMAND --help
};

ParsedArguments parseArguments(const CliCommand& command, const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--") || argument == "--") {
            parsed.operands.push_back(argument);
            continue;
        }
        if (argument == "--help") {
            parsed.help = true;
            return parsed;
        }
        const CliOption* option = command.optionNamed(argument);
        if (!option) {
            parsed.problem = "unknown option " + argument + " for " + command.name;
            return parsed;
        }
        if (option->takesValue && i + 1 == arguments.size()) {
            parsed.problem = argument + " needs a value";
            return parsed;
        }
        parsed.options[argument] = option->takesValue ? arguments[++i] : "";
    }
    if (parsed.operands.size() < command.minOperands || parsed.operands.size() > command.maxOperands)
        parsed.problem = "usage: velloria-cli " + command.usage;
    return parsed;
}

} // namespace

int runCommandLine(const std::vector<std::string>& arguments, const CommandLineContext& context)
{
    if (!arguments.empty() && arguments[0] == "--complete") {
        for (const std::string& candidate : completionsFor({arguments.begin() + 1, arguments.end()}, context.defaultHome))
            context.out << candidate << '\n';
        return 0;
    }
    std::optional<std::filesystem::path> home;
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("-"); ++next) {
        if (arguments[next] == "--help" || arguments[next] == "-h") {
            printUsage(context.out);
            return 0;
        }
        if (arguments[next] == "--version") {
            context.out << "velloria-cli " VELLORIA_VERSION "\n";
            return 0;
        }
        if (arguments[next] != "--home")
            return usageError(context, "unknown option " + arguments[next]);
        if (++next == arguments.size())
            return usageError(context, "--home needs a directory");
        home = arguments[next];
    }
    if (next == arguments.size())
        return usageError(context, "no command given");
    const CliCommand* command = findCommand(arguments[next]);
    if (!command)
        return usageError(context, "unknown command " + arguments[next]);
    ParsedArguments parsed = parseArguments(*command, {arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end()});
    if (parsed.help) {
        printCommandUsage(context.out, *command);
        return 0;
    }
    if (!parsed.problem.empty())
        return usageError(context, parsed.problem);
    try {
        const std::filesystem::path homeDirectory = home.value_or(context.defaultHome);
        if (homeDirectory.empty())
            throw Error("Cannot find the home directory: HOME is not set; give --home DIR");
        try {
            startHome(homeDirectory, HomeHeld::No);
        } catch (const Error& error) {
            context.err << error.what() << '\n'; // a read-only home can still be read
        }
        Invocation call(context, homeDirectory, std::move(parsed.operands), std::move(parsed.options));
        command->run(call);
        return call.status;
    } catch (const Error& error) {
        context.err << error.what() << '\n';
        return 1;
    }
}

} // namespace velloria
