#pragma once

#include "tools/LibraryLinks.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

class MainWindowModel;

// Adding folders and links and editing them: the changes behind the new-item and edit dialogs,
// which call these after cleaning the input, and the command-line tool's add commands. Names
// are made unique; each returns the name or title it finally gave. A part of the window model,
// which it acts on.
class ItemEditing {
public:
    explicit ItemEditing(MainWindowModel& model) : m_model(model) {}
    ItemEditing(const ItemEditing&) = delete;
    ItemEditing& operator=(const ItemEditing&) = delete;

    std::string addLink(std::string_view title, std::string_view address, std::string_view description);
    std::string addFolder(std::string_view name, std::string_view description);
    // The same, as the new last child of parent (npos: the new last top-level folder).
    std::string addFolderIn(std::size_t parent, std::string_view name, std::string_view description);
    std::string editFolder(std::string_view name, std::string_view description);
    std::string editLink(std::string_view title, std::string_view address, std::string_view description);
    // Gives links of any folders a new address, as the link checker's Update Address does: each
    // link is looked for in its folder by its columns, at its row first; one no longer there, and
    // the links of a file read only up to a damaged line, stay as they are. The files are written
    // as one batch. Returns which of the changes were made.
    struct AddressChange {
        LibraryLink link;
        std::string address;
    };
    std::vector<bool> changeAddresses(const std::vector<AddressChange>& changes);
    std::string uniqueFolderName(std::string_view cleaned) const;
    std::string uniqueLinkTitle(std::string_view cleaned) const;

private:
    void selectNewLastRow();

    MainWindowModel& m_model;
};

} // namespace velloria
