// What the shell offers to complete a word of a velloria-cli command line, from the command table
// and the library's folder names.

#include "base/Text.h"
#include "cli/CommandTable.h"
#include "platform/FileIO.h"
#include "store/FolderTreeFile.h"
#include "store/LibraryPaths.h"

#include <algorithm>

namespace velloria {

namespace {

// The folder names of the library as the commands take them (their text as shown), in tree
// order; nothing when the home holds no readable tree. The home is only read.
std::vector<std::string> folderNames(const std::filesystem::path& home)
{
    std::vector<std::string> names;
    try {
        const std::optional<std::string> bytes = readFileIfExists(LibraryPaths(home).libraryFile(kWorkingTreeFile));
        if (bytes)
            for (const TFolderRecord& folder : parseFolderTree(*bytes).records)
                names.push_back(toUtf8(folder.Name));
    } catch (const std::exception&) {
        // A home that cannot be read has no names to offer.
    }
    return names;
}

std::vector<std::string> valuesOf(const CliValue& value, const std::filesystem::path& home)
{
    switch (value.kind) {
    case CliValue::Kind::Folder: return folderNames(home);
    case CliValue::Kind::Path: return {std::string(kCompletePath)};
    case CliValue::Kind::Choice: return value.choices;
    case CliValue::Kind::Text: break;
    }
    return {};
}

// The candidates for the word after the words of a command (its name excluded).
std::vector<std::string> commandCandidates(const CliCommand& command, const std::vector<std::string>& before,
                                           const std::string& current, const std::filesystem::path& home)
{
    std::size_t operands = 0;
    const CliOption* pending = nullptr;
    for (const std::string& word : before) {
        if (pending) {
            pending = nullptr;
        } else if (word.starts_with("--") && word != "--") {
            const CliOption* option = command.optionNamed(word);
            pending = option && option->takesValue ? option : nullptr;
        } else {
            ++operands;
        }
    }
    if (pending)
        return valuesOf(pending->value, home);
    if (current.starts_with("-")) {
        std::vector<std::string> names{"--help"};
        for (const CliOption& option : command.options)
            names.push_back(option.name);
        return names;
    }
    if (operands >= command.maxOperands || command.operandValues.empty())
        return {};
    return valuesOf(command.operandValues[std::min(operands, command.operandValues.size() - 1)], home);
}

} // namespace

std::vector<std::string> completionsFor(const std::vector<std::string>& words,
                                        const std::filesystem::path& defaultHome)
{
    const std::string current = words.empty() ? std::string() : words.back();
    const std::vector<std::string> before(words.begin(), words.end() - (words.empty() ? 0 : 1));
    std::filesystem::path home = defaultHome;
    std::size_t next = 0;
    std::vector<std::string> candidates;
    for (; next < before.size() && before[next].starts_with("-"); ++next)
        if (before[next] == "--home" && ++next < before.size())
            home = before[next];
    if (next > before.size()) {
        candidates = {std::string(kCompleteDirectory)}; // the directory after --home
    } else if (next == before.size()) {
        if (current.starts_with("-"))
            candidates = {"--home", "--help", "--version"};
        else
            for (const CliCommand& command : allCommands())
                candidates.push_back(command.name);
    } else {
        if (const CliCommand* command = findCommand(before[next]))
            candidates = commandCandidates(*command, {before.begin() + static_cast<std::ptrdiff_t>(next) + 1, before.end()},
                                           current, home);
    }
    if (candidates.size() == 1 && (candidates[0] == kCompletePath || candidates[0] == kCompleteDirectory))
        return candidates;
    std::erase_if(candidates, [&](const std::string& candidate) { return !candidate.starts_with(current); });
    return candidates;
}

} // namespace velloria
