#include "store/Undo.h"

#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "store/Library.h"

namespace velloria {

namespace {

void copyLines(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const auto bytes = readFileIfExists(from);
    if (!bytes)
        return;
    LineWriter copy;
    forEachLine(*bytes, [&copy](std::string_view line) { copy.line(line); });
    writeFileAtomically(to, copy.bytes());
}

} // namespace

void SaveUndoLinkFile(Library& library, std::string_view folderName)
{
    copyLines(library.paths().linkFilePath(folderName, kWorkingLinkExt), library.paths().linkFilePath(folderName, kUndoLinkExt));
}

void RestoreUndoLinkFile(Library& library, std::string_view folderName, std::string_view suffix)
{
    copyLines(library.paths().linkFilePath(folderName, kUndoLinkExt),
              library.paths().linkFilePath(std::string(folderName) + std::string(suffix), kWorkingLinkExt));
}

void discardFolderSnapshot(Library& library, UndoState& undo, KeepSnapshot keep)
{
    if (undo.UndoFolderSnapshot) {
        for (const UndoFolderEntry& entry : *undo.UndoFolderSnapshot)
            removeFileIfExists(library.paths().linkFilePath(entry.Name, kUndoLinkExt));
        undo.UndoFolderSnapshot->clear();
    }
    if (keep == KeepSnapshot::No)
        undo.UndoFolderSnapshot.reset();
}

} // namespace velloria
