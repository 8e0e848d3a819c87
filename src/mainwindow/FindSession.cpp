#include "mainwindow/FindSession.h"

#include "base/TextLines.h"

#include <algorithm>

namespace velloria {

namespace {

constexpr std::size_t kHistorySize = 10;

} // namespace

void FindSession::setText(std::string_view typed)
{
    m_text = std::string(trimmed(typed));
}

void FindSession::remember(std::string_view typed)
{
    setText(typed);
    const auto known = std::find(m_history.begin(), m_history.end(), m_text);
    if (known != m_history.end())
        m_history.erase(known);
    else if (m_history.size() == kHistorySize)
        m_history.erase(m_history.begin());
    m_history.push_back(m_text);
}

void FindSession::keepFolderStates(const std::vector<TFolderRecord>& folders)
{
    m_statesBefore.clear();
    for (const TFolderRecord& folder : folders)
        m_statesBefore.push_back({folder.Expanded, folder.Selected});
}

} // namespace velloria
