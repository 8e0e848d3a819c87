#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velloria {

// A language file (.lng): numbered lines like the preferences file. Entry 000 is the format
// version "1.0", entry 001 the language's name, the others texts of the user interface.

struct LanguageFileContent {
    // False when an entry 000 reads anything but "1.0"; reading stops there.
    bool versionValid = true;
    std::optional<std::string> version;             // the text of entry 000, when given
    std::vector<std::string> names;                 // every entry 001 read, in order
    std::vector<std::pair<int, std::string>> texts; // entries of the text table, in file order
    std::size_t ignoredLines = 0;                   // not a number, or a number of no entry
};

LanguageFileContent readLanguageFile(std::string_view bytes);

// The languages a user can choose: the valid language files of a directory, sorted by the name
// shown, and parallel to them the names shown: the language's name, a blank, and the file name
// in parentheses.
struct LanguageList {
    std::vector<std::string> LanguageFiles;
    std::vector<std::string> LanguageNames;
};

LanguageList EnumerateLanguages(const std::filesystem::path& languagesDirectory);

// The name of position 0 of the language list: the built-in texts.
inline constexpr std::string_view kBuiltInLanguageName = "English (standard)";

} // namespace velloria
