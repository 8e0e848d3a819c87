#include "mainwindow/LinkCheckDialog.h"

#include "base/Text.h"
#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/MainWindowModel.h"
#include "tools/Sort.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace velloria {

namespace {

int resultText(CheckResult result)
{
    switch (result) {
    case CheckResult::OK: return text::ResultOK;
    case CheckResult::Moved: return text::ResultMoved;
    case CheckResult::Broken: return text::ResultBroken;
    case CheckResult::Error: return text::ResultError;
    case CheckResult::NotChecked: break;
    }
    return text::ResultNotChecked;
}

} // namespace

LinkCheckDialog::LinkCheckDialog(MainWindowModel& model) : m_model(model), m_folder(model.library().folderTree().selectedIndex())
{
}

LinkCheckDialog::~LinkCheckDialog()
{
    if (m_worker.joinable()) {
        m_progress.cancel();
        m_worker.join();
    }
}

bool LinkCheckDialog::hasFolder() const
{
    return m_folder < m_model.library().folderTree().count();
}

void LinkCheckDialog::setFolder(std::size_t folder)
{
    m_folder = folder;
}

std::string LinkCheckDialog::folderName() const
{
    return hasFolder() ? m_model.library().folderTree()[m_folder].Name : std::string();
}

bool LinkCheckDialog::wholeLibrary() const
{
    return m_model.flags().CheckWholeLibrary || !hasFolder();
}

bool LinkCheckDialog::subfolders() const
{
    return m_model.flags().CheckSubfolders;
}

void LinkCheckDialog::setWholeLibrary(bool whole)
{
    m_model.flags().CheckWholeLibrary = whole;
}

void LinkCheckDialog::setSubfolders(bool subfolders)
{
    m_model.flags().CheckSubfolders = subfolders;
}

void LinkCheckDialog::start(const HttpCheckOptions& options)
{
    if (started())
        return;
    const TFolderTree& tree = m_model.library().folderTree();
    if (wholeLibrary()) {
        m_first = 0;
        m_end = tree.count();
    } else {
        m_first = m_folder;
        m_end = subfolders() ? tree.subtreeEnd(m_first) : m_first + 1;
    }
    m_maxRedirects = options.maxRedirects;
    m_links = readLibraryLinks(m_model.library(), m_first, m_end);
    m_checker = std::make_unique<LinkChecker>(m_links.links);
    m_total = m_checker->addressCount();
    m_worker = std::thread([this, options] {
        try {
            m_found = m_checker->run(options, m_progress);
        } catch (...) {
            m_failure = std::current_exception();
        }
        m_workerDone = true;
    });
}

std::string LinkCheckDialog::progressLine() const
{
    return filledIn(m_model.texts()[text::CheckedOf], std::to_string(done()), std::to_string(total()));
}

bool LinkCheckDialog::collect()
{
    if (m_finished)
        return true;
    if (!m_worker.joinable() || !m_workerDone)
        return false;
    m_worker.join();
    m_finished = true;
    m_checker.reset();
    m_checks = std::move(m_found);
    m_checks.resize(m_links.links.size());
    reshow();
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    return true;
}

std::string LinkCheckDialog::resultWord(CheckResult result) const
{
    return m_model.texts()[resultText(result)];
}

std::string LinkCheckDialog::text(std::size_t index, Column column) const
{
    const LibraryLink& shown = m_links.links[index];
    const LinkCheck& check = m_checks[index];
    const UIText& texts = m_model.texts();
    using Failure = HttpOutcome::Failure;
    switch (column) {
    case Column::Folder: return folderPath(m_model.library().folderTree(), shown.folder);
    case Column::Title: return std::string(shown.link.Title);
    case Column::Address: return std::string(shown.link.Address);
    case Column::Result: return resultWord(check.result);
    case Column::FinalAddress: return check.finalAddress;
    case Column::Details: break;
    }
    switch (check.failure) {
    case Failure::None:
        if (check.result == CheckResult::NotChecked)
            return texts[text::NotWebAddress];
        return filledIn(texts[check.retried ? text::HttpStatusTwice : text::HttpStatus], std::to_string(check.status));
    case Failure::HostNotFound: return texts[text::HostNotFound];
    case Failure::NoConnection: return filledIn(texts[text::NoConnection], check.detail);
    case Failure::TimedOut: return texts[text::TimedOutTwice];
    case Failure::SecureConnection: return filledIn(texts[text::SecureConnectionFailed], check.detail);
    case Failure::TooManyRedirects: return filledIn(texts[text::TooManyRedirects], std::to_string(m_maxRedirects));
    case Failure::RedirectNotWeb: return filledIn(texts[text::RedirectNotChecked], check.finalAddress);
    case Failure::BadAddress: return filledIn(texts[text::NotValidWebAddress], check.detail);
    case Failure::Cancelled: return texts[text::CheckCancelled];
    case Failure::Other: break;
    }
    return check.detail;
}

std::string LinkCheckDialog::summary() const
{
    std::size_t counts[5] = {};
    for (const LinkCheck& check : m_checks)
        ++counts[static_cast<int>(check.result)];
    const auto count = [&](CheckResult result) { return std::to_string(counts[static_cast<int>(result)]); };
    const std::size_t checked = m_checks.size() - counts[static_cast<int>(CheckResult::NotChecked)];
    std::string shown = filledIn(m_model.texts()[text::CheckSummary],
                                 {std::to_string(checked), count(CheckResult::Broken), count(CheckResult::Moved),
                                  count(CheckResult::Error), count(CheckResult::OK), count(CheckResult::NotChecked)});
    for (const std::string& problem : m_links.problems) {
        shown += '\n';
        shown += filledIn(m_model.texts()[text::ReadInPart], problem);
    }
    return shown;
}

void LinkCheckDialog::setFilter(std::optional<CheckResult> filter)
{
    m_filter = filter;
    reshow();
}

void LinkCheckDialog::sortBy(Column column, bool ascending)
{
    m_sortColumn = column;
    m_ascending = ascending;
    reshow();
}

void LinkCheckDialog::reshow()
{
    m_shown.clear();
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        if (!m_filter || m_checks[i].result == *m_filter)
            m_shown.push_back(i);
    // Ties keep tree order, whichever way the column goes.
    const auto before = [this](int order, std::size_t a, std::size_t b) {
        return order != 0 ? (m_ascending ? order < 0 : order > 0) : a < b;
    };
    if (m_sortColumn == Column::Result) {
        std::sort(m_shown.begin(), m_shown.end(), [&](std::size_t a, std::size_t b) {
            return before(static_cast<int>(m_checks[a].result) - static_cast<int>(m_checks[b].result), a, b);
        });
        return;
    }
    std::vector<std::string> keys(m_checks.size());
    for (const std::size_t i : m_shown)
        keys[i] = text(i, m_sortColumn);
    std::sort(m_shown.begin(), m_shown.end(),
              [&](std::size_t a, std::size_t b) { return before(compareSortValues(keys[a], keys[b]), a, b); });
}

bool LinkCheckDialog::canUpdate(const std::vector<std::size_t>& links) const
{
    return std::any_of(links.begin(), links.end(), [this](std::size_t i) {
        return m_checks[i].result == CheckResult::Moved && m_links.links[i].writable;
    });
}

std::size_t LinkCheckDialog::updateAddresses(const std::vector<std::size_t>& links)
{
    std::vector<ItemEditing::LinkChange> changes;
    std::vector<std::size_t> changing;
    for (const std::size_t i : links)
        if (m_checks[i].result == CheckResult::Moved && m_links.links[i].writable) {
            changes.push_back({.link = m_links.links[i], .address = m_checks[i].finalAddress});
            changing.push_back(i);
        }
    if (changes.empty())
        return 0;
    std::vector<bool> made;
    try {
        made = m_model.editing().changeLinks(changes);
    } catch (...) {
        readAgain(); // what the failure left
        throw;
    }
    std::size_t changed = 0;
    for (std::size_t c = 0; c < changing.size(); ++c) {
        if (!made[c])
            continue;
        ++changed;
        LinkCheck& check = m_checks[changing[c]];
        m_links.links[changing[c]].link.Address = m_newAddresses.emplace_back(std::move(check.finalAddress));
        check.result = CheckResult::OK; // where it moved answered
        check.finalAddress.clear();
    }
    if (changed != changes.size())
        readAgain(); // some were no longer where they were read: the files say what is left
    else
        reshow();
    return changed;
}

bool LinkCheckDialog::canDelete(const std::vector<std::size_t>& links) const
{
    return std::any_of(links.begin(), links.end(), [this](std::size_t i) { return m_links.links[i].writable; });
}

std::vector<std::string> LinkCheckDialog::deletionLines(const std::vector<std::size_t>& links) const
{
    std::vector<std::string> lines;
    for (const std::size_t i : links)
        if (m_links.links[i].writable)
            lines.push_back(DeleteConfirmation::lineOf(m_model, m_links.links[i]));
    return lines;
}

std::size_t LinkCheckDialog::deleteLinks(const std::vector<std::size_t>& links)
{
    std::vector<LibraryLink> chosen;
    std::vector<bool> gone(m_links.links.size());
    for (const std::size_t i : links)
        if (m_links.links[i].writable && !gone[i]) {
            chosen.push_back(m_links.links[i]);
            gone[i] = true;
        }
    if (chosen.empty())
        return 0;
    std::size_t deleted = 0;
    try {
        deleted = m_model.deleting().deleteLinks(chosen);
    } catch (...) {
        readAgain();
        throw;
    }
    if (deleted != chosen.size()) {
        readAgain();
        return deleted;
    }
    const std::vector<std::size_t> kept = dropLinks(m_links.links, gone);
    std::vector<LinkCheck> checks;
    checks.reserve(kept.size());
    for (const std::size_t from : kept)
        checks.push_back(std::move(m_checks[from]));
    m_checks = std::move(checks);
    reshow();
    return deleted;
}

// The files are read again, and each link found as it was keeps its result; the others count as
// not checked.
void LinkCheckDialog::readAgain()
{
    std::map<std::tuple<std::size_t, std::string_view, std::string_view>, std::vector<std::size_t>> before;
    for (std::size_t i = m_links.links.size(); i-- > 0;) {
        const LibraryLink& old = m_links.links[i];
        before[{old.folder, old.link.Title, old.link.Address}].push_back(i);
    }
    LibraryLinks links = readLibraryLinks(m_model.library(), m_first, m_end);
    std::vector<LinkCheck> checks(links.links.size());
    for (std::size_t i = 0; i < links.links.size(); ++i) {
        const LibraryLink& now = links.links[i];
        const auto it = before.find({now.folder, now.link.Title, now.link.Address});
        if (it != before.end() && !it->second.empty()) {
            checks[i] = m_checks[it->second.back()];
            it->second.pop_back();
        }
    }
    m_links = std::move(links);
    m_checks = std::move(checks);
    m_newAddresses.clear();
    reshow();
}

void LinkCheckDialog::open(std::size_t link)
{
    m_model.list().openAddress(m_links.links[link].link.Address);
}

void LinkCheckDialog::show(std::size_t link)
{
    const LibraryLink& shown = m_links.links[link];
    m_model.list().showLink(shown.folder, shown.link, shown.row);
}

} // namespace velloria
