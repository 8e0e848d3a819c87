#include "settings/LanguageFile.h"

#include "base/Error.h"
#include "base/Text.h"
#include "platform/FileIO.h"
#include "settings/NumberedLines.h"
#include "settings/UIText.h"

#include <algorithm>

namespace velloria {

namespace fs = std::filesystem;

LanguageFileContent readLanguageFile(std::string_view bytes)
{
    LanguageFileContent content;
    for (const NumberedLine& line : parseNumberedLines(bytes)) {
        if (line.isComment())
            continue;
        const int number = line.number.value_or(-1);
        if (number == 0) {
            content.version = std::string(line.value);
            if (line.value != "1.0") {
                content.versionValid = false;
                break;
            }
        } else if (number == 1) {
            content.names.emplace_back(line.value);
        } else if (UIText::isEntry(number)) {
            content.texts.emplace_back(number, line.value);
        } else {
            ++content.ignoredLines;
        }
    }
    return content;
}

namespace {

bool hasLanguageExtension(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".lng";
}

} // namespace

LanguageList EnumerateLanguages(const fs::path& languagesDirectory)
{
    struct Language {
        std::string file;
        std::string name;
    };
    std::vector<Language> languages;
    std::error_code ec;
    for (fs::directory_iterator it(languagesDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec) || !hasLanguageExtension(it->path()))
            continue;
        std::optional<std::string> bytes;
        try {
            bytes = readFileIfExists(it->path());
        } catch (const Error&) {
            continue; // an unreadable file offers no language
        }
        if (!bytes)
            continue;
        const std::string file = it->path().filename().string();
        for (const std::string& name : readLanguageFile(*bytes).names)
            languages.push_back({file, name + " (" + file + ")"});
    }
    // Sorted by the name shown, so that positions do not depend on the order of the directory.
    std::stable_sort(languages.begin(), languages.end(), [](const Language& a, const Language& b) {
        const std::string foldedA = foldCase(a.name);
        const std::string foldedB = foldCase(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    LanguageList list;
    for (auto& language : languages) {
        list.LanguageFiles.push_back(std::move(language.file));
        list.LanguageNames.push_back(std::move(language.name));
    }
    return list;
}

} // namespace velloria
