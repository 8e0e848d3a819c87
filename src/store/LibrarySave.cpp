// Saving, reverting and purging: the operations that move files between the working
// generation and the "~" generation of the last save, and the default library.

#include "store/Library.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderNames.h"
#include "store/FolderTreeFile.h"

#include <unordered_set>

namespace velloria {

namespace fs = std::filesystem;

namespace {

std::string crLfLines(std::string_view bytes)
{
    if (hasCrLfLinesOnly(bytes))
        return std::string(bytes);
    LineWriter copy;
    for (std::string_view line : splitLines(bytes))
        copy.line(line);
    return copy.take();
}

} // namespace

// The trimmed names of folders.~wnf, the folders of the last save. A missing file means no
// saved folders. Names that cannot be file stems never had files and are left out.
std::vector<std::string> Library::savedFolderNames() const
{
    std::vector<std::string> names;
    const auto bytes = readFileIfExists(m_paths.libraryFile(kSavedTreeFile));
    if (!bytes)
        return names;
    for (std::string_view line : splitLines(*bytes)) {
        const std::string_view name = trimmed(line);
        if (isUsableFileStem(name))
            names.emplace_back(name);
    }
    return names;
}

std::unordered_set<std::string_view> Library::folderNames() const
{
    std::unordered_set<std::string_view> names;
    names.reserve(m_folderTree.count());
    for (const TFolderRecord& folder : m_folderTree.records())
        names.insert(folder.Name);
    return names;
}

void Library::PurgeLinkBackups(StagedWrites* batch)
{
    StagedWrites own;
    StagedWrites& removals = batch ? *batch : own;
    const auto present = folderNames();
    for (const std::string& name : savedFolderNames())
        if (!present.contains(name))
            removals.stageRemoval(m_paths.linkFilePath(name, kSavedLinkExt));
    if (!batch)
        own.commit();
}

void Library::BackupFolderDescriptions(StagedWrites& saved)
{
    const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile));
    saved.stageIfChanged(m_paths.libraryFile(kSavedDescriptionFile), bytes.value_or(""));
}

void Library::SaveLibrary()
{
    // The saved generation is first written beside itself, flushed to disk and then renamed into
    // place, so that a save that fails (a full disk) leaves the last save whole. The marker
    // covers the renames: a save cut short there is completed at the next start.
    writeFileAtomically(m_paths.libraryFile(kSaveInProgressFile), "");
    StagedWrites saved;
    try {
        saved.stageIfChanged(m_paths.libraryFile(kSavedTreeFile), writeFolderTree(m_folderTree.records()));
        BackupFolderDescriptions(saved);
        for (const TFolderRecord& folder : m_folderTree.records()) {
            const auto working = readFileIfExists(m_paths.linkFilePath(folder.Name, kWorkingLinkExt));
            if (working) {
                saved.stageIfChanged(m_paths.linkFilePath(folder.Name, kSavedLinkExt), crLfLines(*working));
                continue;
            }
            // A folder without links gets an empty working file, and no backup may keep links of
            // an earlier folder of that name.
            saved.stage(m_paths.linkFilePath(folder.Name, kWorkingLinkExt), "\r\n");
            saved.stageRemoval(m_paths.linkFilePath(folder.Name, kSavedLinkExt));
        }
    } catch (const Error&) {
        removeFileIfExists(m_paths.libraryFile(kSaveInProgressFile));
        throw;
    }
    PurgeLinkBackups(&saved);
    saved.commit();
    removeFileIfExists(m_paths.libraryFile(kSaveInProgressFile));
}

void Library::RevertLibrary(const std::vector<std::string>& newFolders)
{
    const auto present = folderNames();
    const std::vector<std::string> savedNames = savedFolderNames();
    const std::unordered_set<std::string_view> wasSaved(savedNames.begin(), savedNames.end());
    StagedWrites working;
    // A folder made since the save loses its links; one of a saved folder's name gets the saved ones.
    for (const std::string& name : newFolders)
        if (present.contains(name) && isUsableFileStem(name) && !wasSaved.contains(name))
            working.stageRemoval(m_paths.linkFilePath(name, kWorkingLinkExt));
    std::optional<Error> stateError;
    try {
        LoadFolderStates();
    } catch (const Error& error) {
        stateError = error;
    }
    // Without a saved copy there is nothing to go back to: the working file stays.
    if (const auto tree = readFileIfExists(m_paths.libraryFile(kSavedTreeFile)))
        working.stageIfChanged(m_paths.libraryFile(kWorkingTreeFile), *tree);
    if (const auto descriptions = readFileIfExists(m_paths.libraryFile(kSavedDescriptionFile)))
        working.stageIfChanged(m_paths.libraryFile(kWorkingDescriptionFile), *descriptions);
    // A saved folder without a saved link file had no links at the save.
    for (const std::string& name : savedNames) {
        const auto saved = readFileIfExists(m_paths.linkFilePath(name, kSavedLinkExt));
        working.stageIfChanged(m_paths.linkFilePath(name, kWorkingLinkExt), saved.value_or(""));
    }
    working.commit();
    if (stateError)
        throw *stateError;
}

void Library::PurgeDeletedFolders()
{
    const auto present = folderNames();
    StagedWrites removals;
    for (const std::string& name : savedFolderNames())
        if (!present.contains(name))
            removals.stageRemoval(m_paths.linkFilePath(name, kWorkingLinkExt));
    removals.commit();

    // The descriptions are rebuilt from the working file itself, so that descriptions recorded
    // since the last save survive the deletion of another folder.
    const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile));
    if (!bytes)
        return;
    std::vector<DescriptionPair> kept;
    std::unordered_map<std::string, std::size_t> positionOf;
    for (DescriptionPair& pair : parseFolderDescriptions(*bytes)) {
        std::string name(trimmed(pair.name));
        if (!present.contains(name))
            continue;
        if (const auto it = positionOf.find(name); it != positionOf.end()) {
            kept[it->second].description = std::move(pair.description);
            continue;
        }
        positionOf.emplace(name, kept.size());
        kept.push_back({std::move(name), std::move(pair.description)});
    }
    writeFileIfChanged(m_paths.libraryFile(kWorkingDescriptionFile), writeFolderDescriptions(kept));
}

void Library::CreateDefaultLibrary()
{
    const std::string today = formatDate(m_clock.today());
    const std::string address(kHomePageAddress);
    const std::string tree = writeFolderTree({{.Name = "Main", .Level = 0}});
    const std::string descriptions = writeFolderDescriptions({{"Main", "Main folder"}});
    writeFileAtomically(m_paths.libraryFile(kWorkingTreeFile), tree);
    writeFileAtomically(m_paths.libraryFile(kSavedTreeFile), tree);
    writeFileAtomically(m_paths.libraryFile(kWorkingDescriptionFile), descriptions);
    writeFileAtomically(m_paths.libraryFile(kSavedDescriptionFile), descriptions);
    const auto link = [&](const char* title) {
        return TLinkRecord{.Title = title, .Address = address, .LastVisit = "", .AddDate = today};
    };
    writeFileAtomically(m_paths.linkFilePath("Main", kWorkingLinkExt),
                        writeLinkFile({link("Orvanti"), link("Velloria")}, {"Orvanti", "Home Page"}));
    writeFileAtomically(m_paths.linkFilePath("Main", kSavedLinkExt),
                        writeLinkFile({link("Orvanti"), link("Orvanti")}, {"Orvanti Website", "Home Page"}));
}

} // namespace velloria
