#include "store/Undo.h"

#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "store/Library.h"

namespace velloria {

namespace {

std::optional<std::string> linesOf(const std::filesystem::path& from)
{
    const auto bytes = readFileIfExists(from);
    if (!bytes)
        return std::nullopt;
    LineWriter copy;
    forEachLine(*bytes, [&copy](std::string_view line) { copy.line(line); });
    return copy.take();
}

} // namespace

void SaveUndoLinkFile(Library& library, std::string_view folderName, StagedWrites& batch)
{
    if (const auto lines = linesOf(library.paths().linkFilePath(folderName, kWorkingLinkExt)))
        batch.stage(library.paths().linkFilePath(folderName, kUndoLinkExt), *lines);
}

void RestoreUndoLinkFile(Library& library, std::string_view folderName, std::string_view suffix)
{
    if (const auto lines = linesOf(library.paths().linkFilePath(folderName, kUndoLinkExt)))
        writeFileAtomically(library.paths().linkFilePath(std::string(folderName) + std::string(suffix), kWorkingLinkExt),
                            *lines);
}

void discardFolderSnapshot(Library& library, UndoState& undo, KeepSnapshot keep)
{
    if (undo.UndoFolderSnapshot) {
        StagedWrites removals;
        for (const UndoFolderEntry& entry : *undo.UndoFolderSnapshot)
            removals.stageRemoval(library.paths().linkFilePath(entry.Name, kUndoLinkExt));
        removals.commit();
        undo.UndoFolderSnapshot->clear();
    }
    if (keep == KeepSnapshot::No)
        undo.UndoFolderSnapshot.reset();
}

} // namespace velloria
