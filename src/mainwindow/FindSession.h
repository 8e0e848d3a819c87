#pragma once

#include "store/FolderTree.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velloria {

// The fields a search walks, in the order it walks them in a folder: the folder's own, then
// those of each row. The command-line tool prints them as their numbers, 0 to 4.
enum class SearchPlace { FolderName, FolderDescription, Title, Address, LinkDescription };

struct SearchMatch {
    SearchPlace place = SearchPlace::FolderName;
    std::size_t folder = TFolderTree::npos;
    std::size_t row = TFolderTree::npos; // in the list as shown, for the places of a row (Title and after)
    std::size_t position = 0;            // 1-based, in characters of the field
    std::size_t length = 0;
    std::string field;
};

// What Find and Find Again keep between searches: the text sought, the texts typed in the Find
// dialog, the last match shown and the folder states from before the search.
class FindSession {
public:
    // A text typed in the Find dialog becomes the text sought and the newest of the history,
    // which holds each text once, ten at the most.
    void remember(std::string_view typed);
    const std::string& text() const { return m_text; }
    void setText(std::string_view typed);
    const std::vector<std::string>& history() const { return m_history; }

    const std::optional<SearchMatch>& lastMatch() const { return m_lastMatch; }
    void setLastMatch(SearchMatch match) { m_lastMatch = std::move(match); }

    // The folders' expanded and selected flags when the search began.
    struct FolderState {
        bool expanded = false;
        bool selected = false;
    };
    void keepFolderStates(const std::vector<TFolderRecord>& folders);
    const std::vector<FolderState>& folderStatesBefore() const { return m_statesBefore; }

private:
    std::string m_text;
    std::vector<std::string> m_history;
    std::optional<SearchMatch> m_lastMatch;
    std::vector<FolderState> m_statesBefore;
};

} // namespace velloria
