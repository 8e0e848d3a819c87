// Commands that add folders and links, through the same operations as the program's dialogs.

#include "base/Error.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "cli/CommandTable.h"
#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowModel.h"
#include "store/FolderNames.h"

#include <ostream>

namespace velloria {

namespace {

std::string cleanedName(const std::string& typed)
{
    std::string name = cleanName(fieldText(typed));
    if (name.empty())
        throw Error("The name \"" + typed + "\" is empty without blanks and the characters \\ / : * ? \" < > |");
    return name;
}

std::string optionText(const Invocation& call, const std::string& option)
{
    const auto it = call.options.find(option);
    return it == call.options.end() ? std::string() : std::string(trimmed(fieldText(it->second)));
}

// Like every command that changes the library, the change ends with a save unless --no-save
// asks to leave the saved generation as it was.
void finish(Invocation& call, MainWindowModel& model, const std::string& given)
{
    if (!call.hasOption("--no-save"))
        model.lifecycle().saveLibrary();
    call.out() << toUtf8(given) << '\n';
}

void addFolder(Invocation& call)
{
    call.lockForChange();
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    std::size_t parent = MainWindowModel::npos;
    if (call.hasOption("--in"))
        parent = findFolder(model.library().folderTree(), call.options.at("--in"));
    const std::string given =
        model.editing().addFolderIn(parent, cleanedName(call.operands[0]), optionText(call, "--description"));
    finish(call, model, given);
}

void addLink(Invocation& call)
{
    call.lockForChange();
    MainWindowModel& model = call.model(Invocation::WholeTree::Required);
    const std::string title = cleanedName(call.operands[1]);
    const std::string address(trimmed(fieldText(call.operands[2])));
    if (address.empty())
        throw Error("A link needs an address");
    model.tree().selectFolder(findFolder(model.library().folderTree(), call.operands[0]));
    const std::string given = model.editing().addLink(title, address, optionText(call, "--description"));
    finish(call, model, given);
}

} // namespace

std::vector<CliCommand> editingCommands()
{
    return {
        {"add-folder", "add-folder NAME [--in FOLDER] [--description TEXT] [--no-save]",
         "add a folder; prints the name it was given", 1, 1,
         {{"--in", true, kFolderValue}, {"--description", true}, {"--no-save"}}, addFolder, {kTextValue}},
        {"add-link", "add-link FOLDER TITLE ADDRESS [--description TEXT] [--no-save]",
         "add a link to a folder; prints the title it was given", 3, 3, {{"--description", true}, {"--no-save"}},
         addLink, {kFolderValue, kTextValue, kTextValue}},
    };
}

} // namespace velloria
