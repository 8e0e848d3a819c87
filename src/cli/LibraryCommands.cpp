// Commands that show the library and move it between its generations.

#include "base/Error.h"
#include "base/Text.h"
#include "cli/CommandTable.h"
#include "mainwindow/MainWindowModel.h"
#include "tools/Sort.h"

#include <optional>

#include <ostream>

namespace velloria {

namespace {

void printTree(Invocation& call)
{
    MainWindowModel& model = call.model();
    const auto& descriptions = model.library().folderDescriptions();
    for (const TFolderRecord& folder : model.library().folderTree().records()) {
        const auto it = descriptions.find(folder.Name);
        call.out() << folder.Level << '\t' << toUtf8(folder.Name) << '\t'
                   << (it == descriptions.end() ? std::string() : toUtf8(it->second)) << '\n';
    }
}

// The links in the order the window shows them, without writing that order back as the window
// does: looking must not change the library. Of a file damaged in a line, the links before that
// line are printed, as the window shows them, and then the error.
void printLinks(Invocation& call)
{
    MainWindowModel& model = call.model();
    Library& library = model.library();
    std::optional<Error> damage;
    try {
        library.LoadLinkFile(model.library().folderTree()[findFolder(model.library().folderTree(), call.operands[0])].Name);
    } catch (const Error& error) {
        if (!library.linkListReadInPart())
            throw;
        damage = error;
    }
    TLinkList links = library.linkList();
    std::vector<std::string> descriptions = library.linkDescriptions();
    applySortMode(links, descriptions, model.prefs().SortMode, model.prefs().ReversedOrder);
    for (std::size_t i = 0; i < links.size(); ++i) {
        const TLinkRecord& link = links[i];
        call.out() << toUtf8(link.Title) << '\t' << toUtf8(link.Address) << '\t' << toUtf8(link.LastVisit) << '\t'
                   << toUtf8(link.AddDate) << '\t' << toUtf8(descriptions[i]) << '\n';
    }
    if (damage)
        throw *damage;
}

void save(Invocation& call)
{
    call.lockForChange();
    call.model(Invocation::WholeTree::Required).lifecycle().saveLibrary();
}

void revert(Invocation& call)
{
    // A broken working tree is what a revert repairs, so it goes on after a load error.
    call.lockForChange();
    call.model().lifecycle().revertLibrary();
}

} // namespace

std::size_t findFolder(const TFolderTree& tree, const std::string& name)
{
    if (const std::size_t exact = tree.findExact(name); exact != TFolderTree::npos)
        return exact;
    for (std::size_t i = 0; i < tree.count(); ++i)
        if (toUtf8(tree[i].Name) == name)
            return i;
    throw Error("There is no folder named \"" + name + "\"");
}

std::vector<CliCommand> libraryCommands()
{
    return {
        {"tree", "tree", "one line per folder: level, name, description", 0, 0, {}, printTree},
        {"links", "links FOLDER", "one line per link: title, address, last visit, add date, description", 1, 1, {},
         printLinks, {kFolderValue}},
        {"save", "save", "make the saved generation equal to the working files", 0, 0, {}, save},
        {"revert", "revert", "put the working files back to the last save", 0, 0, {}, revert},
    };
}

} // namespace velloria
