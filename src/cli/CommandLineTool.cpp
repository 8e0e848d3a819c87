#include "cli/CommandLineTool.h"

#include "mainwindow/MainWindowModel.h"
#include "platform/InstanceLock.h"
#include "platform/Text.h"
#include "store/Error.h"
#include "store/FileIO.h"

#include <functional>
#include <optional>
#include <ostream>

namespace velloria {

namespace {

enum class Changes { Nothing, Library };
enum class NeedsWholeTree { No, Yes };

struct Invocation {
    const CommandLineContext& context;
    MainWindowModel& model;
    std::vector<std::string> operands;
};

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    std::size_t operandCount;
    Changes changes;
    NeedsWholeTree needsWholeTree;
    std::function<void(Invocation&)> run;
};

// A folder named on the command line: its exact bytes, or its text as shown.
std::size_t findFolder(const TFolderTree& tree, const std::string& name)
{
    if (const std::size_t exact = tree.findExact(name); exact != TFolderTree::npos)
        return exact;
    for (std::size_t i = 0; i < tree.count(); ++i)
        if (toUtf8(tree[i].Name) == name)
            return i;
    throw Error("There is no folder named \"" + name + "\"");
}

void printTree(Invocation& call)
{
    const auto descriptions = call.model.library().folderDescriptions();
    for (const TFolderRecord& folder : call.model.folderTree().records()) {
        const auto it = descriptions.find(folder.Name);
        call.context.out << folder.Level << '\t' << toUtf8(folder.Name) << '\t'
                         << (it == descriptions.end() ? std::string() : toUtf8(it->second)) << '\n';
    }
}

void printLinks(Invocation& call)
{
    call.model.selectFolder(findFolder(call.model.folderTree(), call.operands[0]));
    const auto& links = call.model.linkList();
    const auto& descriptions = call.model.linkDescriptions();
    for (std::size_t i = 0; i < links.size(); ++i) {
        const TLinkRecord& link = links[i];
        call.context.out << toUtf8(link.Title) << '\t' << toUtf8(link.Address) << '\t' << toUtf8(link.LastVisit) << '\t'
                         << toUtf8(link.AddDate) << '\t' << (i < descriptions.size() ? toUtf8(descriptions[i]) : "")
                         << '\n';
    }
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"tree", "tree", "one line per folder: level, name, description", 0, Changes::Nothing, NeedsWholeTree::No,
         printTree},
        {"links", "links FOLDER", "one line per link of FOLDER: title, address, last visit, add date, description", 1,
         Changes::Nothing, NeedsWholeTree::No, printLinks},
        {"save", "save", "make the saved generation equal to the working files", 0, Changes::Library,
         NeedsWholeTree::Yes, [](Invocation& call) { call.model.saveLibrary(); }},
        {"revert", "revert", "put the working files back to the last save", 0, Changes::Library, NeedsWholeTree::No,
         [](Invocation& call) { call.model.revertLibrary(); }},
    };
    return table;
}

void printUsage(std::ostream& out)
{
    out << "Usage: velloria-cli [--home DIR] COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Command& command : commands())
        out << "  " << command.usage << std::string(16 - std::min<std::size_t>(15, std::string(command.usage).size()), ' ')
            << command.summary << '\n';
    out << "\nWithout --home the library of the program's home directory is used.\n";
}

const Command* findCommand(const std::string& name)
{
    for (const Command& command : commands())
        if (name == command.name)
            return &command;
    return nullptr;
}

int usageError(const CommandLineContext& context, const std::string& message)
{
    context.err << "velloria-cli: " << message << '\n';
    printUsage(context.err);
    return 2;
}

int runCommand(const Command& command, std::vector<std::string> operands, const std::filesystem::path& home,
               const CommandLineContext& context)
{
    InstanceLock lock(InstanceLock::lockFileFor(home));
    if (command.changes == Changes::Library) {
        createDirectory(home);
        if (lock.tryAcquire() == InstanceLock::Result::HeldByAnother)
            throw Error("Velloria is running with the library in \"" + home.string()
                        + "\"; close it before changing the library from the command line");
        removeStaleTemporaryFiles(home / "RefLib");
        removeStaleTemporaryFiles(home / "RefLib" / "Links");
    }
    MainWindowModel model(home, context.clock);
    int status = 0;
    try {
        model.loadLibrary(RestoreFolderStates::Yes);
    } catch (const Error& error) {
        context.err << error.what() << '\n';
        if (command.needsWholeTree == NeedsWholeTree::Yes)
            throw Error("Nothing was changed, because the library could not be read completely");
        status = 1;
    }
    Invocation call{context, model, std::move(operands)};
    command.run(call);
    return status;
}

} // namespace

int runCommandLine(const std::vector<std::string>& arguments, const CommandLineContext& context)
{
    std::optional<std::filesystem::path> home;
    std::size_t next = 0;
    while (next < arguments.size() && arguments[next].starts_with("-")) {
        const std::string& option = arguments[next++];
        if (option == "--help" || option == "-h") {
            printUsage(context.out);
            return 0;
        }
        if (option != "--home")
            return usageError(context, "unknown option " + option);
        if (next == arguments.size())
            return usageError(context, "--home needs a directory");
        home = arguments[next++];
    }
    if (next == arguments.size())
        return usageError(context, "no command given");
    const Command* command = findCommand(arguments[next]);
    if (!command)
        return usageError(context, "unknown command " + arguments[next]);
    std::vector<std::string> operands(arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end());
    if (operands.size() != command->operandCount)
        return usageError(context, std::string("usage: velloria-cli ") + command->usage);
    try {
        return runCommand(*command, std::move(operands), home.value_or(context.defaultHome), context);
    } catch (const Error& error) {
        context.err << error.what() << '\n';
        return 1;
    }
}

} // namespace velloria
