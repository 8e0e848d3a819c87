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

namespace {

const std::vector<CliCommand>& commands()
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

void printUsage(std::ostream& out)
{
    out << "Usage: velloria-cli [--home DIR] COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const CliCommand& command : commands())
        out << "  " << command.usage << std::string(command.usage.size() < 28 ? 28 - command.usage.size() : 1, ' ')
            << command.summary << '\n';
    out << "\nWithout --home the library of the program's home directory is used.\n";
}

int usageError(const CommandLineContext& context, const std::string& message)
{
    context.err << "velloria-cli: " << message << '\n';
    printUsage(context.err);
    return 2;
}

const CliCommand* findCommand(const std::string& name)
{
    const auto it = std::find_if(commands().begin(), commands().end(),
                                 [&](const CliCommand& command) { return command.name == name; });
    return it == commands().end() ? nullptr : &*it;
}

struct ParsedArguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;
    std::string problem;
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
        const auto option = std::find_if(command.options.begin(), command.options.end(),
                                         [&](const CliOption& o) { return o.name == argument; });
        if (option == command.options.end()) {
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
    std::optional<std::filesystem::path> home;
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("-"); ++next) {
        if (arguments[next] == "--help" || arguments[next] == "-h") {
            printUsage(context.out);
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
    if (!parsed.problem.empty())
        return usageError(context, parsed.problem);
    try {
        const std::filesystem::path homeDirectory = home.value_or(context.defaultHome);
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
