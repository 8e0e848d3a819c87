#include "store/FolderTree.h"

#include "base/Text.h"

#include <algorithm>
#include <cassert>

namespace velloria {

std::size_t TFolderTree::findExact(std::string_view name) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].Name == name)
            return i;
    return npos;
}

std::size_t TFolderTree::findIgnoringCase(std::string_view name) const
{
    const std::string folded = foldCase(name);
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].Name == name || foldCase(m_records[i].Name) == folded)
            return i;
    return npos;
}

std::size_t TFolderTree::parentOf(std::size_t index) const
{
    ensureStructure();
    return m_parent[index];
}

std::size_t TFolderTree::subtreeEnd(std::size_t index) const
{
    const int level = m_records[index].Level;
    std::size_t end = index + 1;
    while (end < m_records.size() && m_records[end].Level > level)
        ++end;
    return end;
}

std::size_t TFolderTree::childCount(std::size_t parent) const
{
    ensureStructure();
    return m_children[parent == npos ? 0 : parent + 1].size();
}

std::size_t TFolderTree::childAt(std::size_t parent, std::size_t row) const
{
    ensureStructure();
    return m_children[parent == npos ? 0 : parent + 1][row];
}

std::size_t TFolderTree::rowOf(std::size_t index) const
{
    ensureStructure();
    return m_row[index];
}

bool TFolderTree::hasChildren(std::size_t index) const
{
    return index + 1 < m_records.size() && m_records[index + 1].Level > m_records[index].Level;
}

std::size_t TFolderTree::indexOf(FolderId id) const
{
    ensureStructure();
    const auto it = m_indexOfId.find(id);
    return it == m_indexOfId.end() ? npos : it->second;
}

std::size_t TFolderTree::selectedIndex() const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].Selected)
            return i;
    return npos;
}

void TFolderTree::assign(std::vector<TFolderRecord> records)
{
    m_records = std::move(records);
    m_ids.resize(m_records.size());
    for (auto& id : m_ids)
        id = m_nextId++;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        assert(m_records[i].Level >= 0 && m_records[i].Level <= (i == 0 ? 0 : m_records[i - 1].Level + 1));
        if (m_records[i].Expanded && !hasChildren(i))
            m_records[i].Expanded = false;
    }
    structureChanged();
}

void TFolderTree::clear()
{
    assign({});
}

void TFolderTree::select(std::size_t index)
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        m_records[i].Selected = i == index;
}

void TFolderTree::setExpanded(std::size_t index, bool expanded)
{
    m_records[index].Expanded = expanded && hasChildren(index);
}

void TFolderTree::rename(std::size_t index, std::string name)
{
    m_records[index].Name = std::move(name);
}

std::size_t TFolderTree::appendChild(std::size_t parent, std::string name)
{
    const std::size_t position = parent == npos ? m_records.size() : subtreeEnd(parent);
    const int level = parent == npos ? 0 : m_records[parent].Level + 1;
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(position),
                     TFolderRecord{.Name = std::move(name), .Level = level});
    m_ids.insert(m_ids.begin() + static_cast<std::ptrdiff_t>(position), m_nextId++);
    structureChanged();
    return position;
}

std::size_t TFolderTree::appendTopLevel(std::vector<TFolderRecord> records)
{
    const std::size_t first = m_records.size();
    for (std::size_t i = 0; i < records.size(); ++i) {
        assert(records[i].Level >= 0 && records[i].Level <= (i == 0 ? 0 : records[i - 1].Level + 1));
        m_records.push_back(std::move(records[i]));
        m_ids.push_back(m_nextId++);
    }
    structureChanged();
    return first;
}

void TFolderTree::removeSubtree(std::size_t index)
{
    const std::size_t parent = parentOf(index);
    const auto first = static_cast<std::ptrdiff_t>(index);
    const auto last = static_cast<std::ptrdiff_t>(subtreeEnd(index));
    m_records.erase(m_records.begin() + first, m_records.begin() + last);
    m_ids.erase(m_ids.begin() + first, m_ids.begin() + last);
    if (parent != npos && !hasChildren(parent))
        m_records[parent].Expanded = false;
    structureChanged();
}

std::size_t TFolderTree::moveSubtree(std::size_t index, std::size_t position, int level)
{
    const std::size_t end = subtreeEnd(index);
    const int shift = level - m_records[index].Level;
    const auto first = m_records.begin() + static_cast<std::ptrdiff_t>(index);
    const auto last = m_records.begin() + static_cast<std::ptrdiff_t>(end);
    std::vector<TFolderRecord> records(first, last);
    for (TFolderRecord& record : records)
        record.Level += shift;
    std::vector<FolderId> ids(m_ids.begin() + static_cast<std::ptrdiff_t>(index),
                              m_ids.begin() + static_cast<std::ptrdiff_t>(end));
    const std::size_t oldParent = parentOf(index);
    const FolderId oldParentId = oldParent == npos ? 0 : idOf(oldParent);
    m_records.erase(first, last);
    m_ids.erase(m_ids.begin() + static_cast<std::ptrdiff_t>(index), m_ids.begin() + static_cast<std::ptrdiff_t>(end));
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(position), records.begin(), records.end());
    m_ids.insert(m_ids.begin() + static_cast<std::ptrdiff_t>(position), ids.begin(), ids.end());
    structureChanged();
    // A folder that lost its last subfolder cannot stay expanded.
    if (oldParent != npos) {
        const std::size_t parentNow = indexOf(oldParentId);
        if (!hasChildren(parentNow))
            m_records[parentNow].Expanded = false;
    }
    return position;
}

std::size_t TFolderTree::moveBefore(std::size_t index, std::size_t sibling)
{
    assert(parentOf(index) == parentOf(sibling) && sibling < index);
    return moveSubtree(index, sibling, m_records[index].Level);
}

std::size_t TFolderTree::moveAfter(std::size_t index, std::size_t sibling)
{
    assert(parentOf(index) == parentOf(sibling) && sibling > index);
    const std::size_t size = subtreeEnd(index) - index;
    return moveSubtree(index, subtreeEnd(sibling) - size, m_records[index].Level);
}

std::size_t TFolderTree::moveToFirstChild(std::size_t index, std::size_t target)
{
    assert(!isInSubtree(target, index));
    const std::size_t size = subtreeEnd(index) - index;
    const std::size_t position = target < index ? target + 1 : target + 1 - size;
    return moveSubtree(index, position, m_records[target].Level + 1);
}

bool TFolderTree::isInSubtree(std::size_t candidate, std::size_t index) const
{
    return candidate >= index && candidate < subtreeEnd(index);
}

void TFolderTree::structureChanged()
{
    m_structureValid = false;
}

void TFolderTree::ensureStructure() const
{
    if (m_structureValid)
        return;
    const std::size_t n = m_records.size();
    m_parent.assign(n, npos);
    m_row.assign(n, 0);
    m_children.assign(n + 1, {});
    m_indexOfId.clear();
    m_indexOfId.reserve(n);
    std::vector<std::size_t> ancestors; // ancestors[level] = last folder seen at that level
    for (std::size_t i = 0; i < n; ++i) {
        const auto level = static_cast<std::size_t>(m_records[i].Level);
        ancestors.resize(level);
        m_parent[i] = level == 0 ? npos : ancestors[level - 1];
        auto& siblings = m_children[m_parent[i] == npos ? 0 : m_parent[i] + 1];
        m_row[i] = siblings.size();
        siblings.push_back(i);
        ancestors.push_back(i);
        m_indexOfId.emplace(m_ids[i], i);
    }
    m_structureValid = true;
}

std::string folderPath(const TFolderTree& tree, std::size_t index)
{
    std::string path;
    for (std::size_t folder = index; folder != TFolderTree::npos; folder = tree.parentOf(folder))
        path = path.empty() ? tree[folder].Name : tree[folder].Name + " / " + path;
    return path;
}

} // namespace velloria
