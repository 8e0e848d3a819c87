#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velloria {

// Images of the main image list that every folder shows (normal, selected).
inline constexpr int kFolderImageIndex = 6;
inline constexpr int kFolderSelectedImageIndex = 24;

// One folder. Its place in the tree is its place in pre-order with its level; its name is its
// identity (the stem of its link file and the key of its description).
struct TFolderRecord {
    std::string Name;
    int Level = 0;
    bool Expanded = false;
    bool Selected = false;
    bool operator==(const TFolderRecord&) const = default;
};

// The ordered forest of folders, held as its pre-order sequence: the absolute index of a folder
// is its position in records(). Every node also has a FolderId that stays the same while the
// node is in the tree, so that views can keep references across insertions and removals.
class TFolderTree {
public:
    using FolderId = std::uint64_t;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t count() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    const TFolderRecord& operator[](std::size_t index) const { return m_records[index]; }
    const std::vector<TFolderRecord>& records() const { return m_records; }

    // The first folder whose name equals name exactly, or npos.
    std::size_t findExact(std::string_view name) const;
    // The first folder whose name equals name without regard to case, or npos.
    std::size_t findIgnoringCase(std::string_view name) const;

    // Structure. A parent index of npos stands for the top level.
    std::size_t parentOf(std::size_t index) const;
    std::size_t subtreeEnd(std::size_t index) const; // one past the last descendant
    std::size_t childCount(std::size_t parent) const;
    std::size_t childAt(std::size_t parent, std::size_t row) const;
    std::size_t rowOf(std::size_t index) const; // position among its siblings
    bool hasChildren(std::size_t index) const;

    FolderId idOf(std::size_t index) const { return m_ids[index]; }
    std::size_t indexOf(FolderId id) const; // npos when the node has left the tree

    std::size_t selectedIndex() const; // npos when no folder is selected

    // Replaces the whole tree. Levels must describe a valid pre-order (the tree file reader
    // guarantees it): the first at level 0, each at most one deeper than the one before.
    void assign(std::vector<TFolderRecord> records);
    void clear();

    // Makes index the single selected folder; npos leaves the tree without a selection.
    void select(std::size_t index);
    // A folder without subfolders cannot be expanded, as in a tree control.
    void setExpanded(std::size_t index, bool expanded);
    void rename(std::size_t index, std::string name);

    // Adds a folder as the new last child of parent (npos: the new last top-level folder) and
    // returns its absolute index.
    std::size_t appendChild(std::size_t parent, std::string name);
    // Appends whole top-level folders with their subfolders, given in pre-order (the first at
    // level 0), after the last folder; returns the absolute index of the first.
    std::size_t appendTopLevel(std::vector<TFolderRecord> records);
    // Removes the folder with all its subfolders.
    void removeSubtree(std::size_t index);

    // Moves the folder with its subfolders; each returns the folder's new absolute index.
    // Before a sibling of the folder (the same parent):
    std::size_t moveBefore(std::size_t index, std::size_t sibling);
    // After a sibling of the folder, that is after the sibling's whole subtree:
    std::size_t moveAfter(std::size_t index, std::size_t sibling);
    // To be the first child of another folder that is not inside it.
    std::size_t moveToFirstChild(std::size_t index, std::size_t target);
    // True when candidate is index itself or one of its subfolders at any depth.
    bool isInSubtree(std::size_t candidate, std::size_t index) const;

private:
    // Takes the subtree out and puts it back in at position (counted after the removal), with
    // its levels shifted to start at level.
    std::size_t moveSubtree(std::size_t index, std::size_t position, int level);
    void structureChanged();
    void ensureStructure() const;

    std::vector<TFolderRecord> m_records;
    std::vector<FolderId> m_ids;
    FolderId m_nextId = 1;

    // Derived from m_records, rebuilt on demand after a structural change.
    mutable bool m_structureValid = false;
    mutable std::vector<std::size_t> m_parent;
    mutable std::vector<std::size_t> m_row;
    mutable std::vector<std::vector<std::size_t>> m_children; // [0]: top level, [i + 1]: folder i
    mutable std::unordered_map<FolderId, std::size_t> m_indexOfId;
};

// The folder's path from the top: the names of its parents and its own, joined by " / ".
std::string folderPath(const TFolderTree& tree, std::size_t index);

} // namespace velloria
