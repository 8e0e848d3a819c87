#pragma once

#include "store/FolderTree.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace velloria {

class Clock;
class Library;
struct TPreferences;

// What the exchange dialogs remember until the program ends, beside what the preferences keep.
struct ExchangeMemory {
    bool importXbel = false;
    bool exportXbel = false;
    std::string xbelFile; // shared by import and export, as the other locations are
    bool browserPage = false; // the import dialog shows the page of the browsers on this computer
    std::vector<std::filesystem::path> tickedProfiles; // the bookmark stores imported last
};

// What import and export need of the library that the window (or the command-line tool) works
// on. The window model gives it; the drivers know nothing else of the window.
class ExchangeLibrary {
public:
    virtual Library& library() = 0;
    virtual const Clock& clock() const = 0;
    // The preferences that keep the dialogs' choices and the sort the imported folders take.
    virtual TPreferences& exchangePreferences() = 0;
    virtual ExchangeMemory& exchangeMemory() = 0;
    // Where relative locations of the dialogs start.
    virtual const std::filesystem::path& userHome() const = 0;
    // Folders made by an import, their files already written, appended as new top-level folders
    // with their subfolders in pre-order. Returns the index of the first (npos: none).
    virtual std::size_t addImportedFolders(std::vector<TFolderRecord> records) = 0;
    virtual void selectFolder(std::size_t index) = 0;

protected:
    ~ExchangeLibrary() = default;
};

} // namespace velloria
