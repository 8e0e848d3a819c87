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
    EXPECT_EQ(tree.childCount(npos), 2u);
    EXPECT_EQ(tree.childAt(npos, 1), 4u);
    EXPECT_EQ(tree.childCount(0), 2u); // B and D; C is a grandchild
    EXPECT_EQ(tree.childAt(0, 1), 3u);
    EXPECT_EQ(tree.parentOf(2), 1u);
    EXPECT_EQ(tree.parentOf(3), 0u);
    EXPECT_EQ(tree.parentOf(4), npos);
    EXPECT_EQ(tree.rowOf(3), 1u);
    EXPECT_EQ(tree.rowOf(4), 1u);
    EXPECT_EQ(tree.subtreeEnd(0), 4u);
    EXPECT_EQ(tree.subtreeEnd(1), 3u);
    EXPECT_TRUE(tree.hasChildren(1));
    EXPECT_FALSE(tree.hasChildren(2));
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

TEST(FolderTree, SelectsOneFolderAtATime)
{
    TFolderTree tree = treeFrom("A\nB\nC\n");
    tree.select(1);
    tree.select(2);
    EXPECT_EQ(tree.selectedIndex(), 2u);
    EXPECT_FALSE(tree[1].Selected);
    tree.select(npos);
    EXPECT_EQ(tree.selectedIndex(), npos);
}

TEST(FolderTree, OnlyFoldersWithSubfoldersExpand)
{
    TFolderTree tree = treeFrom("A\n\tB\nC\n");
    tree.setExpanded(0, true);
    tree.setExpanded(2, true);
    EXPECT_TRUE(tree[0].Expanded);
    EXPECT_FALSE(tree[2].Expanded);
    tree.removeSubtree(1); // A loses its only child and with it its expanded state
    EXPECT_FALSE(tree[0].Expanded);
}

TEST(FolderTree, AppendsChildrenAtTheEndOfTheParentsSubtree)
{
    TFolderTree tree = treeFrom("A\n\tB\n\t\tC\nD\n");
    EXPECT_EQ(tree.appendChild(0, "New"), 3u);
    EXPECT_EQ(tree.appendChild(npos, "Last"), 5u);
    EXPECT_EQ(tree.appendChild(2, "UnderC"), 3u);
    EXPECT_THAT(names(tree), ElementsAre("A", ".B", "..C", "...UnderC", ".New", "D", "Last"));
    EXPECT_EQ(tree.childCount(0), 2u);
}

TEST(FolderTree, RemovesAWholeSubtreeAndKeepsIdentities)
{
    TFolderTree tree = treeFrom("A\n\tB\n\t\tC\nD\n\tE\n");
    const auto idOfD = tree.idOf(3);
    const auto idOfB = tree.idOf(1);
    tree.removeSubtree(1);
    EXPECT_THAT(names(tree), ElementsAre("A", "D", ".E"));
    EXPECT_EQ(tree.indexOf(idOfD), 1u);
    EXPECT_EQ(tree.indexOf(idOfB), npos);
    EXPECT_EQ(tree.childCount(1), 1u);
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

TEST(FolderTree, AFolderThatLosesItsLastSubfolderCollapses)
{
    TFolderTree tree = treeFrom("A\n\tA1\nB\n");
    tree.setExpanded(0, true);
    tree.moveToFirstChild(1, 2);
    EXPECT_FALSE(tree[0].Expanded);
}

} // namespace
} // namespace velloria
