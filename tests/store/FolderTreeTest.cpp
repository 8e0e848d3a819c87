// The in-memory folder tree: navigation, selection, expansion and structural edits.

#include "store/FolderTree.h"
#include "store/FolderTreeFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;

constexpr auto npos = TFolderTree::npos;

TFolderTree treeFrom(const std::string& file)
{
    TFolderTree tree;
    tree.assign(parseFolderTree(file).records);
    return tree;
}

std::vector<std::string> names(const TFolderTree& tree)
{
    std::vector<std::string> result;
    for (const auto& record : tree.records())
        result.push_back(std::string(static_cast<std::size_t>(record.Level), '.') + record.Name);
    return result;
}

TEST(FolderTree, NavigatesParentsChildrenAndRows)
{
    const TFolderTree tree = treeFrom("A\n\tB\n\t\tC\n\tD\nE\n\tF\n");
    const struct {
        std::size_t parent, row, children, subtreeEnd;
    } folders[] = {{npos, 0, 2, 4}, {0, 0, 1, 3}, {1, 0, 0, 3}, {0, 1, 0, 4}, {npos, 1, 1, 6}, {4, 0, 0, 6}};
    for (std::size_t i = 0; i < std::size(folders); ++i) {
        SCOPED_TRACE(tree[i].Name);
        EXPECT_EQ(tree.parentOf(i), folders[i].parent);
        EXPECT_EQ(tree.rowOf(i), folders[i].row);
        EXPECT_EQ(tree.childAt(folders[i].parent, folders[i].row), i);
        EXPECT_EQ(tree.childCount(i), folders[i].children);
        EXPECT_EQ(tree.hasChildren(i), folders[i].children > 0);
        EXPECT_EQ(tree.subtreeEnd(i), folders[i].subtreeEnd);
    }
    EXPECT_EQ(tree.childCount(npos), 2u);
}

TEST(FolderTree, FindsNamesExactlyOrWithoutRegardToCase)
{
    const TFolderTree tree = treeFrom("Work\n\t\xC3\x89mile\nStra\xC3\x9F" "e\n");
    EXPECT_EQ(tree.findExact("work"), npos);
    EXPECT_EQ(tree.findIgnoringCase("WORK"), 0u);
    EXPECT_EQ(tree.findIgnoringCase("\xC3\xA9mile"), 1u);  // émile finds Émile
    EXPECT_EQ(tree.findIgnoringCase("STRASSE"), 2u);       // full case folding
    EXPECT_EQ(tree.findIgnoringCase("Other"), npos);
}

TEST(FolderTree, SelectsOneFolderAtATimeAndExpandsOnlyFoldersWithSubfolders)
{
    TFolderTree tree = treeFrom("A\n\tA1\nB\n\tB1\nC\n");
    tree.select(1);
    tree.select(2);
    EXPECT_EQ(tree.selectedIndex(), 2u);
    EXPECT_FALSE(tree[1].Selected);
    tree.select(npos);
    EXPECT_EQ(tree.selectedIndex(), npos);
    for (std::size_t folder : {0, 2, 4})
        tree.setExpanded(folder, true);
    EXPECT_TRUE(tree[0].Expanded && tree[2].Expanded);
    EXPECT_FALSE(tree[4].Expanded);
    // A folder that loses its last subfolder, removed or moved away, collapses.
    tree.removeSubtree(1);
    tree.moveToFirstChild(2, 3); // B1 into C
    EXPECT_THAT(names(tree), ElementsAre("A", "B", "C", ".B1"));
    EXPECT_FALSE(tree[0].Expanded || tree[1].Expanded);
}

TEST(FolderTree, AppendsChildrenAtTheEndOfTheParentsSubtreeAndRemovesWholeSubtrees)
{
    TFolderTree tree = treeFrom("A\n\tB\n\t\tC\nD\n");
    EXPECT_EQ(tree.appendChild(0, "New"), 3u);
    EXPECT_EQ(tree.appendChild(npos, "Last"), 5u);
    EXPECT_EQ(tree.appendChild(2, "UnderC"), 3u);
    EXPECT_THAT(names(tree), ElementsAre("A", ".B", "..C", "...UnderC", ".New", "D", "Last"));
    const auto idOfD = tree.idOf(5);
    const auto idOfC = tree.idOf(2);
    tree.removeSubtree(1);
    EXPECT_THAT(names(tree), ElementsAre("A", ".New", "D", "Last"));
    EXPECT_EQ(tree.indexOf(idOfD), 2u);
    EXPECT_EQ(tree.indexOf(idOfC), npos);
}

TEST(FolderTree, MovesSubtreesAmongSiblingsAndIntoOtherFolders)
{
    TFolderTree tree = treeFrom("A\n\tA1\nB\n\tB1\n\t\tB2\nC\n");
    const auto idOfB = tree.idOf(2);
    EXPECT_EQ(tree.moveBefore(2, 0), 0u);
    EXPECT_THAT(names(tree), ElementsAre("B", ".B1", "..B2", "A", ".A1", "C"));
    EXPECT_EQ(tree.indexOf(idOfB), 0u);
    EXPECT_EQ(tree.moveAfter(0, 3), 2u); // B after A's whole subtree
    EXPECT_THAT(names(tree), ElementsAre("A", ".A1", "B", ".B1", "..B2", "C"));
    EXPECT_EQ(tree.moveToFirstChild(2, 5), 3u); // B into C, levels shifted
    EXPECT_THAT(names(tree), ElementsAre("A", ".A1", "C", ".B", "..B1", "...B2"));
    EXPECT_EQ(tree.moveToFirstChild(2, 0), 1u); // C, a later folder, becomes A's first child
    EXPECT_THAT(names(tree), ElementsAre("A", ".C", "..B", "...B1", "....B2", ".A1"));
    EXPECT_TRUE(tree.isInSubtree(4, 1));
    EXPECT_FALSE(tree.isInSubtree(5, 1));
}

} // namespace
} // namespace velloria
