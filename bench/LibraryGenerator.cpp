#include "LibraryGenerator.h"

#include "SampleText.h"

#include "base/Text.h"
#include "platform/FileIO.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderStateFile.h"
#include "store/FolderTreeFile.h"
#include "store/Library.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <unordered_set>

namespace velloria::bench {

namespace {

// How many of the nested folders sit at each level (index 1 and deeper; level 0 is the top).
// Most collections are two or three levels deep, with a few long chains below.
constexpr unsigned kLevelWeights[] = {0, 30, 30, 20, 12, 8};
constexpr unsigned kDeeperLevelWeight = 4;

constexpr unsigned kExpandedPercent = 35;
constexpr unsigned kEmptyFolderPercent = 12;

unsigned levelWeight(int level)
{
    const auto index = static_cast<std::size_t>(level);
    return index < std::size(kLevelWeights) ? kLevelWeights[index] : kDeeperLevelWeight;
}

// The folders as a forest while it grows; flattened to pre-order at the end.
class TreeBuilder {
public:
    TreeBuilder(Random& random, int maxDepth) : m_random(random), m_maxDepth(maxDepth) {}

    std::size_t addRoot(std::string name)
    {
        m_takenNames.insert(foldCase(name));
        m_nodes.push_back({std::move(name), 0, {}});
        return m_nodes.size() - 1;
    }

    std::size_t addRoot() { return addRoot(uniqueName()); }

    // Adds count folders below the given top-level folders, each under a random folder one
    // level up from a level drawn by kLevelWeights (or the deepest level that has folders).
    void grow(const std::vector<std::size_t>& roots, std::size_t count)
    {
        std::vector<std::vector<std::size_t>> byLevel(static_cast<std::size_t>(m_maxDepth));
        byLevel[0] = roots;
        for (std::size_t i = 0; i < count; ++i) {
            auto level = static_cast<std::size_t>(drawLevel());
            while (byLevel[level - 1].empty())
                --level;
            const auto& parents = byLevel[level - 1];
            const std::size_t parent = parents[m_random.below(parents.size())];
            m_nodes.push_back({uniqueName(), static_cast<int>(level), {}});
            m_nodes[parent].children.push_back(m_nodes.size() - 1);
            byLevel[level].push_back(m_nodes.size() - 1);
        }
    }

    std::vector<TFolderRecord> preOrder(const std::vector<std::size_t>& roots) const
    {
        std::vector<TFolderRecord> records;
        records.reserve(m_nodes.size());
        for (std::size_t root : roots)
            appendSubtree(root, records);
        return records;
    }

private:
    struct Node {
        std::string name;
        int level = 0;
        std::vector<std::size_t> children;
    };

    int drawLevel()
    {
        unsigned total = 0;
        for (int level = 1; level < m_maxDepth; ++level)
            total += levelWeight(level);
        auto draw = static_cast<unsigned>(m_random.below(total));
        int level = 1;
        while (draw >= levelWeight(level)) {
            draw -= levelWeight(level);
            ++level;
        }
        return level;
    }

    // Names are unique without regard to case, as the program keeps them.
    std::string uniqueName()
    {
        const std::string base = sampleFolderName(m_random);
        std::string name = base;
        for (int n = 2; m_takenNames.contains(foldCase(name)); ++n)
            name = base + ' ' + std::to_string(n);
        m_takenNames.insert(foldCase(name));
        return name;
    }

    void appendSubtree(std::size_t node, std::vector<TFolderRecord>& records) const
    {
        records.push_back({.Name = m_nodes[node].name, .Level = m_nodes[node].level});
        for (std::size_t child : m_nodes[node].children)
            appendSubtree(child, records);
    }

    Random& m_random;
    int m_maxDepth;
    std::vector<Node> m_nodes;
    std::unordered_set<std::string> m_takenNames;
};

void checkOptions(const LibraryOptions& options)
{
    if (options.maxDepth < 2)
        throw std::invalid_argument("the folder tree needs a depth of at least 2");
    if (options.archiveFolders < 1 || options.folders < options.archiveFolders + 3)
        throw std::invalid_argument("a library needs at least " + std::to_string(options.archiveFolders + 3)
                                    + " folders: Big, Archive with its subtree, and one more");
    if (options.links < options.bigFolderLinks)
        throw std::invalid_argument("the library needs at least as many links as the big folder holds ("
                                    + std::to_string(options.bigFolderLinks) + ")");
}

std::vector<TFolderRecord> makeFolders(Random& random, const LibraryOptions& options)
{
    TreeBuilder builder(random, options.maxDepth);
    const std::size_t big = builder.addRoot(kBigFolderName);
    const std::size_t archive = builder.addRoot(kArchiveFolderName);
    builder.grow({archive}, options.archiveFolders - 1);

    // About one top-level folder for every 80, as a collection that has grown for years.
    const std::size_t topLevel = std::clamp<std::size_t>(options.folders / 80, 3, 40);
    std::vector<std::size_t> ordinaryRoots;
    for (std::size_t i = 2; i < topLevel; ++i)
        ordinaryRoots.push_back(builder.addRoot());
    builder.grow(ordinaryRoots, options.folders - options.archiveFolders - topLevel + 1);

    std::vector<std::size_t> roots = ordinaryRoots;
    roots.push_back(big);
    roots.push_back(archive);
    for (std::size_t i = roots.size() - 1; i > 0; --i)
        std::swap(roots[i], roots[random.below(i + 1)]);
    return builder.preOrder(roots);
}

// The links of all folders but the big one spread unevenly over the others, some of which stay
// empty: a few folders hold hundreds, most a few dozen.
std::vector<std::size_t> makeLinkCounts(Random& random, const LibraryOptions& options, std::size_t big,
                                        std::size_t folderCount)
{
    std::vector<double> weights(folderCount, 0.0);
    for (std::size_t i = 0; i < folderCount; ++i)
        if (i != big && !random.chance(kEmptyFolderPercent))
            weights[i] = 1.0 / (random.unit() + 0.02);
    if (std::all_of(weights.begin(), weights.end(), [](double w) { return w == 0.0; }))
        weights[big == 0 ? 1 : 0] = 1.0;

    const std::size_t rest = options.links - options.bigFolderLinks;
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<std::size_t> counts(folderCount, 0);
    std::size_t assigned = 0;
    for (std::size_t i = 0; i < folderCount; ++i) {
        counts[i] = static_cast<std::size_t>(static_cast<double>(rest) * weights[i] / total);
        assigned += counts[i];
    }
    while (assigned < rest) {
        const std::size_t i = random.below(folderCount);
        if (weights[i] > 0.0) {
            ++counts[i];
            ++assigned;
        }
    }
    counts[big] = options.bigFolderLinks;
    return counts;
}

// Some folders are expanded, and the selected one is visible: its ancestors are expanded too.
void setFolderStates(Random& random, LibraryPlan& plan)
{
    auto& folders = plan.folders;
    const auto hasChildren = [&](std::size_t i) {
        return i + 1 < folders.size() && folders[i + 1].Level > folders[i].Level;
    };
    for (std::size_t i = 0; i < folders.size(); ++i)
        folders[i].Expanded = hasChildren(i) && random.chance(kExpandedPercent);

    // The selected folder is an ordinary one with links, when there is one.
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (i != plan.bigFolder && plan.linkCounts[i] > 0)
            candidates.push_back(i);
    plan.selectedFolder = candidates.empty() ? plan.bigFolder : candidates[random.below(candidates.size())];
    folders[plan.selectedFolder].Selected = true;
    int level = folders[plan.selectedFolder].Level;
    for (std::size_t i = plan.selectedFolder; i-- > 0 && level > 0;)
        if (folders[i].Level < level) {
            folders[i].Expanded = true;
            level = folders[i].Level;
        }
}

std::size_t indexOfName(const std::vector<TFolderRecord>& folders, std::string_view name)
{
    const auto it = std::find_if(folders.begin(), folders.end(), [&](const auto& f) { return f.Name == name; });
    return static_cast<std::size_t>(it - folders.begin());
}

} // namespace

std::size_t LibraryPlan::linkCount() const
{
    return std::accumulate(linkCounts.begin(), linkCounts.end(), std::size_t{0});
}

std::size_t LibraryPlan::emptyFolderCount() const
{
    return static_cast<std::size_t>(std::count(linkCounts.begin(), linkCounts.end(), std::size_t{0}));
}

int LibraryPlan::deepestLevel() const
{
    int deepest = 0;
    for (const auto& folder : folders)
        deepest = std::max(deepest, folder.Level);
    return deepest;
}

LibraryPlan planLibrary(const LibraryOptions& options)
{
    checkOptions(options);
    Random random(options.seed);
    LibraryPlan plan;
    plan.options = options;
    plan.folders = makeFolders(random, options);
    plan.bigFolder = indexOfName(plan.folders, kBigFolderName);
    plan.archiveFolder = indexOfName(plan.folders, kArchiveFolderName);
    plan.linkCounts = makeLinkCounts(random, options, plan.bigFolder, plan.folders.size());
    setFolderStates(random, plan);
    plan.descriptions.reserve(plan.folders.size());
    for (const auto& folder : plan.folders)
        plan.descriptions.push_back(sampleFolderDescription(random, folder.Name));
    return plan;
}

FolderLinks makeFolderLinks(const LibraryPlan& plan, std::size_t folder)
{
    Random random(mixSeed(plan.options.seed, folder + 1));
    FolderLinks result;
    result.links.reserve(plan.linkCounts[folder]);
    result.descriptions.reserve(plan.linkCounts[folder]);
    for (std::size_t i = 0; i < plan.linkCounts[folder]; ++i) {
        SampleLink link = sampleLink(random);
        result.links.push_back(std::move(link.record));
        result.descriptions.push_back(std::move(link.description));
    }
    return result;
}

void writeLibrary(const std::filesystem::path& home, const LibraryPlan& plan)
{
    // The library gives the file paths; the clock is not used for writing.
    const FixedClock clock(kBenchmarkToday);
    Library library(home, clock);
    if (fileExists(library.paths().refLibDirectory()))
        throw std::invalid_argument(library.paths().refLibDirectory().string() + " already exists");
    createDirectory(library.paths().linksDirectory());

    const std::string tree = writeFolderTree(plan.folders);
    writeFileAtomically(library.paths().libraryFile(kWorkingTreeFile), tree);
    writeFileAtomically(library.paths().libraryFile(kSavedTreeFile), tree);

    std::vector<DescriptionPair> pairs;
    for (std::size_t i = 0; i < plan.folders.size(); ++i)
        pairs.push_back({plan.folders[i].Name, plan.descriptions[i]});
    const std::string descriptions = writeFolderDescriptions(pairs);
    writeFileAtomically(library.paths().libraryFile(kWorkingDescriptionFile), descriptions);
    writeFileAtomically(library.paths().libraryFile(kSavedDescriptionFile), descriptions);

    writeFileAtomically(library.paths().libraryFile(kFolderStateFile), writeFolderStates(plan.folders));

    for (std::size_t i = 0; i < plan.folders.size(); ++i) {
        const FolderLinks folder = makeFolderLinks(plan, i);
        const std::string bytes = writeLinkFile(folder.links, folder.descriptions);
        writeFileAtomically(library.paths().linkFilePath(plan.folders[i].Name, kWorkingLinkExt), bytes);
        writeFileAtomically(library.paths().linkFilePath(plan.folders[i].Name, kSavedLinkExt), bytes);
    }
}

} // namespace velloria::bench
