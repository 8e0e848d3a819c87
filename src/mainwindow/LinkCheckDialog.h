#pragma once

#include "tools/LinkCheck.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velloria {

class MainWindowModel;

// The logic of Tools > Check Links: which links (the selected folder, with its subfolders when
// asked, or the whole library), the check on a thread of its own that the window watches and can
// cancel, and then the results, filtered and sorted, with what their buttons do. Update Address
// and Delete change the working files at once, as editing and Edit > Delete do; nothing is saved.
class LinkCheckDialog {
public:
    enum class Column { Folder, Title, Address, Result, Details, FinalAddress };
    static constexpr int kColumnCount = 6;

    explicit LinkCheckDialog(MainWindowModel& model);
    ~LinkCheckDialog(); // a check still running is cancelled and waited for
    LinkCheckDialog(const LinkCheckDialog&) = delete;
    LinkCheckDialog& operator=(const LinkCheckDialog&) = delete;

    // Before the check. The choice holds for the next opening in this run.
    bool hasFolder() const;
    std::string folderName() const; // the selected folder's name
    void setFolder(std::size_t folder); // another folder than the one selected
    bool wholeLibrary() const;
    bool subfolders() const;
    void setWholeLibrary(bool whole);
    void setSubfolders(bool subfolders);
    // Reads the links chosen and starts checking them on a thread of its own.
    void start(const HttpCheckOptions& options);

    // While it runs: how far it has come, and Cancel, after which it stops within half a second.
    bool started() const { return m_worker.joinable() || m_finished; }
    std::size_t total() const { return m_total; }
    std::size_t done() const { return m_progress.done(); }
    std::string inHand() const { return m_progress.inHand(); }
    std::string progressLine() const; // "Checked 12 of 340"
    void cancel() { m_progress.cancel(); }
    // Takes the results in once the thread has ended: true when they are in.
    bool collect();
    bool finished() const { return m_finished; }

    // The results, one per link read, in tree and row order.
    std::size_t linkCount() const { return m_links.links.size(); }
    const LibraryLink& link(std::size_t index) const { return m_links.links[index]; }
    const LinkCheck& check(std::size_t index) const { return m_checks[index]; }
    std::string text(std::size_t index, Column column) const;
    std::string resultWord(CheckResult result) const;
    // The counts of each result, and the folders that could not be read in full.
    std::string summary() const;
    // The folders not read in full, "folder: reason" each.
    const std::vector<std::string>& problems() const { return m_links.problems; }

    // The rows the list shows: the links of one result or of all, sorted as chosen, at first by
    // result (Broken, Moved, Error, OK, not checked) and in tree order within.
    const std::vector<std::size_t>& shown() const { return m_shown; }
    std::optional<CheckResult> filter() const { return m_filter; }
    void setFilter(std::optional<CheckResult> filter);
    void sortBy(Column column, bool ascending);

    // The buttons, on links given by their index. Update Address sets the address of each Moved
    // link to where it moved, which makes it OK; Delete deletes as Edit > Delete does, asked first
    // when the preferences say so, and undone in one step. Both return how many links changed.
    bool canUpdate(const std::vector<std::size_t>& links) const;
    std::size_t updateAddresses(const std::vector<std::size_t>& links);
    bool canDelete(const std::vector<std::size_t>& links) const;
    std::vector<std::string> deletionLines(const std::vector<std::size_t>& links) const;
    std::size_t deleteLinks(const std::vector<std::size_t>& links);
    void open(std::size_t link);
    void show(std::size_t link);

private:
    void reshow();
    void readAgain();

    MainWindowModel& m_model;
    std::size_t m_folder; // the folder checked unless the whole library is
    std::size_t m_first = 0; // the folders checked, as a range of the tree
    std::size_t m_end = 0;
    LibraryLinks m_links;
    std::vector<LinkCheck> m_checks;
    std::deque<std::string> m_newAddresses; // the links updated point at these
    std::size_t m_total = 0;
    int m_maxRedirects = 0;
    HttpCheckProgress m_progress;
    std::unique_ptr<LinkChecker> m_checker;
    std::vector<LinkCheck> m_found; // filled by the thread
    std::thread m_worker;
    std::atomic<bool> m_workerDone{false};
    std::exception_ptr m_failure; // what stopped the thread
    bool m_finished = false;
    std::optional<CheckResult> m_filter;
    Column m_sortColumn = Column::Result;
    bool m_ascending = true;
    std::vector<std::size_t> m_shown;
};

} // namespace velloria
