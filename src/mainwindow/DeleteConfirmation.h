#pragma once

#include "tools/LibraryLinks.h"

#include <functional>
#include <string>
#include <vector>

namespace velloria {

class MainWindowModel;

// The logic of the delete confirmation ("Delete the selected items?"): whether the selected
// folder or the selected links go, decided by the pane that had the focus, and the lines that
// name them.
class DeleteConfirmation {
public:
    explicit DeleteConfirmation(MainWindowModel& model);
    // The question over links of any folders (Find Duplicates', Check Links'): its lines, one
    // per link as lineOf gives it, and what Yes does.
    DeleteConfirmation(MainWindowModel& model, std::vector<std::string> lines, std::function<void()> yes);

    static std::string lineOf(const MainWindowModel& model, const LibraryLink& link); // "path: title (Bookmark)"

    bool folderMode() const { return m_folderMode; }
    const std::vector<std::string>& lines() const { return m_lines; }

    // "Don't show this dialog in the future": holds at once, whatever the answer.
    void setDontShowAgain(bool checked);
    bool dontShowAgain() const;
    void yes();

private:
    MainWindowModel& m_model;
    bool m_folderMode = false;
    std::vector<std::string> m_lines;
    std::function<void()> m_yes;
};

} // namespace velloria
