#include "tools/LibraryLinks.h"

#include "base/Error.h"
#include "base/Parallel.h"
#include "platform/FileIO.h"
#include "store/Library.h"

#include <algorithm>

namespace velloria {

LibraryLinks readLibraryLinks(const Library& library, std::size_t first, std::size_t end)
{
    LibraryLinks result;
    const TFolderTree& tree = library.folderTree();
    // The files are read one after the other, in tree order; then read apart in parts at once.
    std::vector<std::size_t> folderOf;
    for (std::size_t folder = first; folder < std::min(end, tree.count()); ++folder) {
        const std::string& name = tree[folder].Name;
        try {
            if (auto bytes = readFileIfExists(library.paths().linkFilePath(name, kWorkingLinkExt)); bytes && !bytes->empty()) {
                result.files.push_back(std::make_unique<const std::string>(std::move(*bytes)));
                folderOf.push_back(folder);
            }
        } catch (const Error& error) {
            result.problems.push_back(name + ": " + error.what());
        }
    }
    std::vector<std::vector<LibraryLink>> partLinks(4);
    std::vector<std::vector<std::pair<std::size_t, std::string>>> partProblems(4);
    const auto reserve = [&](std::size_t begin, std::size_t stop, std::size_t part) {
        std::size_t most = 0; // a link takes five lines of at least four bytes
        for (std::size_t i = begin; i < stop; ++i)
            most += result.files[i]->size() / 20 + 1;
        partLinks[part].reserve(most); // pages never filled cost no memory
    };
    inParts(result.files.size(), 64, reserve, [&](std::size_t begin, std::size_t stop, std::size_t part) {
        for (std::size_t i = begin; i < stop; ++i) {
            const LinkFileView view = viewLinkFile(*result.files[i]);
            if (view.error)
                partProblems[part].emplace_back(folderOf[i], tree[folderOf[i]].Name + ": " + *view.error);
            for (std::size_t row = 0; row < view.links.size(); ++row)
                partLinks[part].push_back(
                    {.folder = folderOf[i], .row = row, .link = view.links[row], .writable = !view.error});
        }
    });
    std::size_t total = 0;
    for (const auto& links : partLinks)
        total += links.size();
    result.links.reserve(total);
    for (auto& links : partLinks) { // each part goes once copied, so that two copies never fill memory
        result.links.insert(result.links.end(), links.begin(), links.end());
        std::vector<LibraryLink>().swap(links);
    }
    for (auto& problems : partProblems)
        for (auto& [folder, problem] : problems)
            result.problems.push_back(std::move(problem));
    return result;
}

std::vector<std::size_t> dropLinks(std::vector<LibraryLink>& links, const std::vector<bool>& gone)
{
    std::vector<std::size_t> kept;
    std::size_t removedBefore = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (i > 0 && links[i].folder != links[i - 1].folder)
            removedBefore = 0;
        if (gone[i]) {
            ++removedBefore;
            continue;
        }
        links[kept.size()] = links[i];
        links[kept.size()].row -= removedBefore;
        kept.push_back(i);
    }
    links.resize(kept.size());
    return kept;
}

} // namespace velloria
