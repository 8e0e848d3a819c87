#include "settings/HomeSetup.h"

#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "settings/EmbeddedFiles.h"

#include <algorithm>

namespace velloria {

std::vector<EmbeddedFile> shippedLanguages()
{
    std::vector<EmbeddedFile> languages;
    for (const EmbeddedFile& file : embeddedFiles())
        if (file.name.ends_with(".lng"))
            languages.push_back(file);
    return languages;
}

std::filesystem::path helpPagePath(const std::filesystem::path& home)
{
    return home / "velloria-help.html";
}

void writeHelpPage(const std::filesystem::path& home)
{
    for (const EmbeddedFile& file : embeddedFiles()) {
        if (!file.name.ends_with(".html"))
            continue;
        const auto existing = readFileIfExists(helpPagePath(home));
        if (!existing || *existing != file.bytes)
            writeFileAtomically(helpPagePath(home), file.bytes);
    }
}

void prepareHome(const std::filesystem::path& home)
{
    createDirectory(home);
    const std::filesystem::path languages = home / "Languages";
    const std::filesystem::path record = languages / ".shipped";
    createDirectory(languages);
    const std::string recorded = readFileIfExists(record).value_or("");
    std::vector<std::string_view> offered = splitLines(recorded);
    const std::size_t offeredBefore = offered.size();
    for (const EmbeddedFile& file : shippedLanguages()) {
        if (std::find(offered.begin(), offered.end(), file.name) != offered.end())
            continue;
        if (!fileExists(languages / file.name))
            writeFileAtomically(languages / file.name, file.bytes);
        offered.push_back(file.name);
    }
    if (offered.size() == offeredBefore)
        return;
    LineWriter updated;
    for (std::string_view name : offered)
        updated.line(name);
    writeFileAtomically(record, updated.bytes());
}

void removeUnfinishedWrites(const std::filesystem::path& home)
{
    removeStaleTemporaryFiles(home / "RefLib");
    removeStaleTemporaryFiles(home / "RefLib" / "Links");
}

void startHome(const std::filesystem::path& home, HomeHeld held)
{
    if (held == HomeHeld::Yes)
        removeUnfinishedWrites(home);
    prepareHome(home);
}

} // namespace velloria
