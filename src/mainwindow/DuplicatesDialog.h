#pragma once

#include "tools/Duplicates.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// The logic of Tools > Find Duplicates: the library's links read once, grouped by the rule
// chosen, a check box per link set as the proposal has it, and what the buttons do. Delete
// Checked deletes as Edit > Delete does (asked first when the preferences say so, written at
// once, undone in one step); nothing is saved.
class DuplicatesDialog {
public:
    explicit DuplicatesDialog(MainWindowModel& model);

    bool loose() const { return m_rule == SameLinkRule::Loose; }
    // Groups the links again by the rule; the check boxes go back to the proposal. The choice
    // holds for the next opening of the dialog in this run.
    void setLoose(bool loose);

    const std::vector<DuplicateGroup>& groups() const { return m_groups; }
    const LibraryLink& link(std::size_t group, std::size_t member) const;
    // The folder's path from the top, its names joined by " / ".
    std::string folderPath(std::size_t group, std::size_t member) const;
    // The group's line: the address of the link kept and the number of links.
    std::string groupLine(std::size_t group) const;
    // A link of a file read only up to a damaged line cannot be checked.
    bool checkable(std::size_t group, std::size_t member) const;
    bool checked(std::size_t group, std::size_t member) const;
    void setChecked(std::size_t group, std::size_t member, bool checked);
    std::size_t checkedCount() const;
    // What the dialog says under the list: the number of groups and of links checked, or that
    // there are none, and the folders that could not be read in full.
    std::string summary() const;
    // The folders not read in full, "folder: reason" each.
    const std::vector<std::string>& problems() const { return m_links.problems; }

    // Delete Checked: the lines the question lists, and the deletion, after which the library is
    // read again. Returns how many links went.
    std::vector<std::string> deletionLines() const;
    std::size_t deleteChecked();
    // Opens the link in the browser (a look, not counted as a visit); Show selects its folder
    // and row in the main window.
    void open(std::size_t group, std::size_t member);
    void show(std::size_t group, std::size_t member);

private:
    void readLibrary();
    void regroup();

    MainWindowModel& m_model;
    SameLinkRule m_rule;
    LibraryLinks m_links;
    std::vector<DuplicateGroup> m_groups;
    std::vector<std::vector<bool>> m_checked; // per group, per member
};

} // namespace velloria
