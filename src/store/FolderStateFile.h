#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

struct TFolderRecord;

// The folder state file (foldst.wnf): three lines per folder in pre-order, its absolute index,
// "True"/"False" for expanded, "True"/"False" for selected.

struct FolderState {
    long long index = 0;
    bool expanded = false;
    bool selected = false;
    bool operator==(const FolderState&) const = default;
};

struct FolderStateParse {
    std::vector<FolderState> states;  // the entries read, also when reading stopped
    std::optional<std::string> error; // the integer or boolean error that stopped it
};

// Reads three lines at a time to the end; lines missing from the last entry read as empty.
FolderStateParse parseFolderStates(std::string_view bytes);

std::string writeFolderStates(const std::vector<TFolderRecord>& records);

} // namespace velloria
