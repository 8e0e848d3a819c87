#pragma once

#include "mainwindow/FindSession.h"

#include <optional>
#include <string_view>

namespace velloria {

class MainWindowModel;

// Find and Find Again over the whole library. A part of the window model, which it acts on; it
// keeps the find session between searches.
class LibrarySearch {
public:
    explicit LibrarySearch(MainWindowModel& model) : m_model(model) {}
    LibrarySearch(const LibrarySearch&) = delete;
    LibrarySearch& operator=(const LibrarySearch&) = delete;

    // Find is the Find dialog's OK: it records the text in the history and searches from the
    // first folder; SearchAgain goes on after the last match. Each returns whether it showed a
    // match.
    bool Find(std::string_view typed);
    bool SearchLibrary(std::string_view typed);
    bool SearchAgain();
    // The text sought, the history of the Find dialog and the last match shown.
    const FindSession& session() const { return m_session; }

private:
    struct SearchCursor;
    class SearchWalk;
    std::optional<SearchMatch> walkSearch(SearchCursor cursor, bool again);
    void showMatch(const SearchMatch& match, bool restoreStates, bool treeTakesFocus);
    std::optional<SearchCursor> searchAgainStart();
    void restoreFolderStates();
    void recordFolderStates();

    MainWindowModel& m_model;
    FindSession m_session;
};

} // namespace velloria
