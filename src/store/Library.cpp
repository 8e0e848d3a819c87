#include "store/Library.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderNames.h"
#include "store/FolderStateFile.h"
#include "store/FolderTreeFile.h"


namespace velloria {

namespace fs = std::filesystem;

Library::Library(fs::path home, const Clock& clock) : m_paths(std::move(home)), m_clock(clock) {}

fs::path LibraryPaths::linkFilePath(std::string_view folderName, std::string_view ext) const
{
    if (!isUsableFileStem(folderName))
        throw Error("The folder name \"" + std::string(folderName) + "\" cannot be used as a file name");
    return linksDirectory() / (std::string(folderName) + std::string(ext));
}

void Library::OpenLibrary(RestoreFolderStates restore)
{
    if (!fileExists(m_paths.refLibDirectory())) {
        createDirectory(m_paths.refLibDirectory());
        createDirectory(m_paths.linksDirectory());
        CreateDefaultLibrary();
    }
    std::string errors;
    const auto collect = [&errors](auto&& step) {
        try {
            step();
        } catch (const Error& error) {
            errors += errors.empty() ? error.what() : std::string("\n") + error.what();
        }
    };
    bool treeRead = false;
    collect([&] {
        LoadFolderTree();
        treeRead = fileExists(m_paths.libraryFile(kWorkingTreeFile));
    });
    // Never from a tree read in part: the save would drop the backups of the folders missing.
    if (treeRead && fileExists(m_paths.libraryFile(kSaveInProgressFile)))
        collect([this] { SaveLibrary(); });
    if (restore == RestoreFolderStates::Yes)
        collect([this] { LoadFolderStates(); });
    if (!errors.empty())
        throw Error(errors);
}

void Library::LoadFolderTree()
{
    const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingTreeFile));
    if (!bytes)
        return;
    FolderTreeParse parse = parseFolderTree(*bytes);
    const auto repaired = repairFolderNames(parse.records);
    m_folderTree.assign(std::move(parse.records));
    std::string message = parse.error.value_or("");
    for (const auto& [before, after] : repaired) {
        if (!message.empty())
            message += '\n';
        message += "The folder name \"" + before + "\" cannot be used as a file name; the folder is called \""
            + after + "\" instead";
    }
    if (!message.empty())
        throw Error(message);
}

void Library::SaveFolderTree(std::string_view fileName)
{
    writeFileAtomically(m_paths.libraryFile(fileName), writeFolderTree(m_folderTree.records()));
}

void Library::LoadFolderStates()
{
    if (m_folderTree.empty())
        return;
    const auto bytes = readFileIfExists(m_paths.libraryFile(kFolderStateFile));
    if (!bytes)
        return;
    const FolderStateParse parse = parseFolderStates(*bytes);
    const auto last = static_cast<long long>(m_folderTree.count()) - 1;
    for (const FolderState& state : parse.states) {
        if (state.index < 0)
            continue;
        if (state.index > last) {
            m_folderTree.select(static_cast<std::size_t>(last));
            continue;
        }
        const auto index = static_cast<std::size_t>(state.index);
        m_folderTree.setExpanded(index, state.expanded);
        if (state.selected)
            m_folderTree.select(index);
        else if (m_folderTree[index].Selected)
            m_folderTree.select(TFolderTree::npos);
    }
    if (parse.error)
        throw Error(*parse.error);
}

void Library::SaveFolderStates()
{
    if (!m_folderTree.empty())
        writeFileIfChanged(m_paths.libraryFile(kFolderStateFile), writeFolderStates(m_folderTree.records()));
}

void Library::clearLinkList()
{
    m_linkList.clear();
    m_linkDescriptions.clear();
    m_linkListFolder.reset();
}

void Library::LoadLinkFile(std::string_view folderName)
{
    // The list holds one folder's links only, so reading a folder's file replaces it.
    clearLinkList();
    m_linkListFolder = std::string(folderName);
    m_damagedLinkFile.reset();
    m_unreadLinkFile.reset();
    std::optional<std::string> bytes;
    try {
        bytes = readFileIfExists(m_paths.linkFilePath(folderName, kWorkingLinkExt));
    } catch (const Error& error) {
        m_unreadLinkFile.emplace(std::string(folderName), error);
        throw;
    }
    if (!bytes)
        return;
    LinkFileParse parse = parseLinkFile(*bytes);
    m_linkList = std::move(parse.links);
    m_linkDescriptions = std::move(parse.descriptions);
    if (parse.error) {
        m_damagedLinkFile = std::string(folderName);
        throw Error(*parse.error);
    }
}

void Library::SaveLinkFile(std::string_view folderName, std::string_view ext)
{
    if (ext == kWorkingLinkExt && m_unreadLinkFile && m_unreadLinkFile->first == folderName)
        throw m_unreadLinkFile->second;
    if (ext == kWorkingLinkExt && m_damagedLinkFile == folderName) {
        const fs::path working = m_paths.linkFilePath(folderName, kWorkingLinkExt);
        if (const auto damaged = readFileIfExists(working))
            writeFileAtomically(m_paths.linkFilePath(folderName, kDamagedLinkExt), *damaged);
        m_damagedLinkFile.reset();
    }
    // Showing a sorted folder writes its list back; a file that holds it already stays untouched.
    writeFileIfChanged(m_paths.linkFilePath(folderName, ext), writeLinkFile(m_linkList, m_linkDescriptions));
}

void Library::CopyLinkFile(std::string_view folderName, std::string_view fromExt, std::string_view toExt)
{
    const fs::path source = m_paths.linkFilePath(folderName, fromExt);
    const auto bytes = readFileIfExists(source);
    if (!bytes) {
        writeFileAtomically(source, "\r\n");
        return;
    }
    LineWriter copy;
    for (std::string_view line : splitLines(*bytes))
        copy.line(line);
    writeFileAtomically(m_paths.linkFilePath(folderName, toExt), copy.bytes());
}

void Library::DeleteLinkFile(std::string_view folderName)
{
    removeFileIfExists(m_paths.linkFilePath(folderName, kWorkingLinkExt));
}

const std::string& Library::ShowFolderDescription(std::string_view folderName)
{
    m_folderDescription.clear();
    if (const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile)))
        m_folderDescription = findFolderDescription(*bytes, folderName).value_or("");
    return m_folderDescription;
}

void Library::GetFolderDescription(std::string_view folderName, std::string& description) const
{
    if (const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile)))
        if (auto found = findFolderDescription(*bytes, folderName))
            description = std::move(*found);
}

const std::unordered_map<std::string, std::string>& Library::folderDescriptions() const
{
    const FileStamp stamp = fileStamp(m_paths.libraryFile(kWorkingDescriptionFile));
    DescriptionCache& cache = m_descriptionCache;
    if (!cache.valid || cache.stamp != stamp) {
        const auto bytes = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile));
        cache.descriptions = bytes ? lastFolderDescriptions(*bytes) : std::unordered_map<std::string, std::string>();
        cache = {true, stamp, std::move(cache.descriptions)};
    }
    return cache.descriptions;
}

void Library::AddFolderDescription(std::string_view folderName, std::string_view description)
{
    auto existing = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile));
    appendDescriptionPairs({{std::string(folderName), std::string(description)}}, existing.value_or(""));
}

void Library::AddFolderDescriptions(const std::vector<DescriptionPair>& pairs)
{
    if (pairs.empty())
        return;
    auto existing = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile));
    appendDescriptionPairs(pairs, existing.value_or(""));
}

void Library::AppendFolderDescription(std::string_view folderName, std::string_view description)
{
    if (auto existing = readFileIfExists(m_paths.libraryFile(kWorkingDescriptionFile)))
        appendDescriptionPairs({{std::string(folderName), std::string(description)}}, std::move(*existing));
}

void Library::appendDescriptionPairs(const std::vector<DescriptionPair>& pairs, std::string existing)
{
    // The new pair must start a line, and on a name line: a last line without its line end gets
    // one, and an unpaired last name line gets its (empty) description line first.
    if (!existing.empty() && existing.back() != '\n' && existing.back() != '\r')
        existing += "\r\n";
    if (splitLines(existing).size() % 2 != 0)
        existing += "\r\n";
    existing += writeFolderDescriptions(pairs);
    writeFileAtomically(m_paths.libraryFile(kWorkingDescriptionFile), existing);
}

} // namespace velloria
