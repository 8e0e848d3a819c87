#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class StagedWrites;

class Library;

// The last deletion, kept so that Undo can put it back once. A folder deletion keeps the
// deleted folders (the folder first, then its subfolders in tree order) and a copy of each one's
// link file as Links/<name>.wnt; a link deletion keeps the deleted rows in memory.
struct UndoFolderEntry {
    std::string Name;
    std::string ParentName; // empty for a top-level folder
    std::string Description;
    bool operator==(const UndoFolderEntry&) const = default;
};

struct UndoLinkEntry {
    std::string Title;
    std::string Address;
    std::string LastVisit;
    std::string AddDate;
    std::string Description;
    std::size_t Index = 0; // the row's place when it was deleted
    bool operator==(const UndoLinkEntry&) const = default;
};

// The rows a deletion over several folders took from one folder, in ascending Index.
struct UndoFolderLinks {
    std::uint64_t Folder = 0; // the folder's id in the tree, which a rename or move keeps
    std::vector<UndoLinkEntry> Links;
};

struct UndoState {
    bool UndoIsFolder = false;
    std::string UndoFolderName;
    std::optional<std::vector<UndoFolderEntry>> UndoFolderSnapshot;
    std::optional<std::vector<UndoLinkEntry>> UndoLinkSnapshot;
    std::optional<std::vector<UndoFolderLinks>> UndoLinksOfFolders;
};

// Copies the folder's working link file to its undo copy, line by line, when it exists, as part
// of the batch.
void SaveUndoLinkFile(Library& library, std::string_view folderName, StagedWrites& batch);
// Copies the undo copy of a folder to the working link file of name + suffix, when it exists.
void RestoreUndoLinkFile(Library& library, std::string_view folderName, std::string_view suffix);
// Deletes the undo copies of the folder snapshot and empties it (kept empty, for a save) or
// drops it (at close).
enum class KeepSnapshot { Empty, No };
void discardFolderSnapshot(Library& library, UndoState& undo, KeepSnapshot keep);

} // namespace velloria
