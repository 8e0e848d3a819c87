#pragma once

#include <string>
#include <string_view>

namespace velloria {

class MainWindowModel;

// How a dialog's input was confirmed: the OK button, or Enter in one of its fields.
enum class Confirmation { OkButton, EnterKey };

// The logic of the new-item dialog ("Add New Item"): a folder or a link, what the choice
// enables, and what OK adds. Made anew every time the dialog opens.
class NewItemDialog {
public:
    explicit NewItemDialog(MainWindowModel& model);

    bool folderChosen() const { return m_folderChosen; }
    bool linkChoiceEnabled() const { return m_linkChoiceEnabled; }
    bool addressEnabled() const { return !m_folderChosen; }
    bool addFolderInFolderChecked() const { return m_addFolderInFolderChecked; }
    bool addFolderInFolderEnabled() const { return m_folderChosen; }
    // The address field's first text: the model's new-item address when a link is to be added.
    const std::string& address() const { return m_address; }

    void chooseFolder();
    void chooseLink();
    void setAddFolderInFolder(bool checked);

    // Adds the folder or link. Returns whether the dialog closes: input that is refused (an
    // empty title, or an empty address for a link) adds nothing and leaves the dialog open
    // when confirmed with Enter, while the OK button closes it all the same.
    bool accept(std::string_view title, std::string_view address, std::string_view description,
                Confirmation confirmation);
    // The name or title the last accept gave; empty when it added nothing.
    const std::string& added() const { return m_added; }

private:
    MainWindowModel& m_model;
    bool m_folderChosen = true;
    bool m_linkChoiceEnabled = true;
    bool m_addFolderInFolderChecked = false;
    std::string m_address;
    std::string m_added;
};

// The logic of the edit dialog ("Edit Item"): the selected folder when the folder tree had the
// focus, otherwise the selected link.
class EditItemDialog {
public:
    explicit EditItemDialog(MainWindowModel& model);

    bool editsFolder() const { return m_editsFolder; }
    bool addressEnabled() const { return !m_editsFolder; }
    const std::string& title() const { return m_title; }
    const std::string& address() const { return m_address; }
    const std::string& description() const { return m_description; }

    // Changes the item; returns whether the dialog closes (refused input leaves it open).
    bool accept(std::string_view title, std::string_view address, std::string_view description);

private:
    MainWindowModel& m_model;
    bool m_editsFolder = false;
    bool m_editsFiltered = false; // the current row of the filter's
    std::string m_title;
    std::string m_address;
    std::string m_description;
};

// What a dialog field gives: line breaks and other control characters become blanks.
std::string fieldText(std::string_view typed);

} // namespace velloria
