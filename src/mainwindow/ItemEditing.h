#pragma once

#include "tools/LibraryLinks.h"

#include <cstddef>
#include <optional>
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
    // Changes links of any folders, as the link checker's Update Address, and Edit and Open on the
    // filter's rows do: each link is looked for in its folder by its columns, at its row first;
    // one no longer there, and the links of a file read only up to a damaged line, stay as they
    // are. A new title is made unique among the folder's other links. The files are written as
    // one batch. Returns which of the changes were made.
    struct LinkChange {
        LibraryLink link;
        std::optional<std::string> title;
        std::optional<std::string> address;
        std::optional<std::string> description;
        std::optional<std::string> lastVisit;
    };
    std::vector<bool> changeLinks(const std::vector<LinkChange>& changes);
    std::string uniqueFolderName(std::string_view cleaned) const;
    std::string uniqueLinkTitle(std::string_view cleaned) const;

private:
    void selectNewLastRow();

    MainWindowModel& m_model;
};

} // namespace velloria
