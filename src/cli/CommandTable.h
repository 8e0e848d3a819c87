#pragma once

#include "cli/CommandLineTool.h"
#include "store/FolderTree.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class InstanceLock;
class MainWindowModel;
class UrlOpener;

// One run of a command: its operands and options, the home, and the library opened on demand.
class Invocation {
public:
    Invocation(const CommandLineContext& context, std::filesystem::path home, std::vector<std::string> operands,
               std::map<std::string, std::string> options);
    ~Invocation();

    const CommandLineContext& context;
    const std::filesystem::path home;
    const std::vector<std::string> operands;
    const std::map<std::string, std::string> options;

    bool hasOption(const std::string& name) const { return options.contains(name); }
    std::ostream& out() const { return context.out; }

    // Refuses to go on while the program holds the home; holds it until the command ends.
    void lockForChange();
    // The main window's model, without a window, over the library loaded as the program's start
    // loads it (preferences, tree, folder states), without showing a folder.
    // Load errors are printed and make the exit status 1; with WholeTree::Required a tree that
    // could not be read completely stops the command before it changes anything.
    enum class WholeTree { NotRequired, Required };
    MainWindowModel& model(WholeTree wholeTree = WholeTree::NotRequired);

    int status = 0;

private:
    std::unique_ptr<InstanceLock> m_lock;
    std::unique_ptr<UrlOpener> m_opener;
    std::unique_ptr<MainWindowModel> m_model;
};

// A folder named on the command line: its exact bytes, or its text as shown.
std::size_t findFolder(const TFolderTree& tree, const std::string& name);

// What an operand or an option's value is, for completing it in a shell: free text, a folder of
// the library, a path, or one of a few words.
struct CliValue {
    enum class Kind { Text, Folder, Path, Choice };
    Kind kind = Kind::Text;
    std::vector<std::string> choices = {};
};

struct CliOption {
    std::string name;  // "--save"
    bool takesValue = false;
    CliValue value = {};
};

struct CliCommand {
    std::string name;
    std::string usage;
    std::string summary;
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;
    std::vector<CliOption> options;
    std::function<void(Invocation&)> run;
    // The operands in order; the last stands for any further ones.
    std::vector<CliValue> operandValues = {};

    const CliOption* optionNamed(const std::string& optionName) const;
};

inline const CliValue kTextValue{CliValue::Kind::Text};
inline const CliValue kFolderValue{CliValue::Kind::Folder};
inline const CliValue kPathValue{CliValue::Kind::Path};

// Every command, in the order the usage lists them; findCommand gives nullptr for an unknown name.
const std::vector<CliCommand>& allCommands();
const CliCommand* findCommand(const std::string& name);

// The words that complete the last of words (the words of a command line after the program's
// name, the last one being typed), one per entry, those that begin with it; or the single entry
// kCompletePath or kCompleteDirectory when a path is wanted, which the shell completes itself.
inline constexpr std::string_view kCompletePath = ":file";
inline constexpr std::string_view kCompleteDirectory = ":directory";
std::vector<std::string> completionsFor(const std::vector<std::string>& words,
                                        const std::filesystem::path& defaultHome);

// The commands of each area, in the order the usage lists them.
std::vector<CliCommand> libraryCommands();
std::vector<CliCommand> editingCommands();
std::vector<CliCommand> interchangeCommands();
std::vector<CliCommand> toolCommands();
std::vector<CliCommand> settingsCommands();

} // namespace velloria
