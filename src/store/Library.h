#pragma once

#include "base/Error.h"
#include "platform/FileIO.h"
#include "store/FolderDescriptionFile.h"
#include "store/FolderTree.h"
#include "store/LibraryPaths.h"
#include "store/LinkFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velloria {

class Clock;
class StagedWrites;

inline constexpr std::string_view kHomePageAddress = VELLORIA_HOME_PAGE;
inline constexpr std::string_view kSupportAddress = VELLORIA_CONTACT_ADDRESS;

enum class RestoreFolderStates { No, Yes };

// The library directory RefLib of a home directory and the in-memory models that the store
// operations work on: the folder tree, the links of the selected folder with their parallel
// descriptions, and the selected folder's description.
//
// The working files are rewritten by every editing command; the "~" files hold the last save.
// Every file is written whole through a temporary file, so a failure leaves it as it was.
class Library {
public:
    Library(std::filesystem::path home, const Clock& clock);

    // Where its files are.
    const LibraryPaths& paths() const { return m_paths; }

    TFolderTree& folderTree() { return m_folderTree; }
    const TFolderTree& folderTree() const { return m_folderTree; }
    TLinkList& linkList() { return m_linkList; }
    const TLinkList& linkList() const { return m_linkList; }
    std::vector<std::string>& linkDescriptions() { return m_linkDescriptions; }
    const std::vector<std::string>& linkDescriptions() const { return m_linkDescriptions; }
    const std::string& folderDescription() const { return m_folderDescription; }

    // Start: creates RefLib and the default library when RefLib is missing, reads the tree and,
    // when asked, the folder states. A save that was cut short is completed once the tree has
    // been read without error. Errors of the tree or state file are thrown after the rest of the
    // loading has run, with what was read kept.
    void OpenLibrary(RestoreFolderStates restore);
    void CreateDefaultLibrary();

    // The folder tree and folder states.
    void LoadFolderTree();
    void SaveFolderTree(std::string_view fileName);
    void LoadFolderStates();
    void SaveFolderStates();

    // Link files of folders. LoadLinkFile replaces the list and its descriptions with the
    // folder's links (none when the folder has no link file).
    void LoadLinkFile(std::string_view folderName);
    // True when the list holds the links of this folder: it was the last one read into it.
    bool linkListHolds(std::string_view folderName) const { return m_linkListFolder == folderName; }
    // Empties the list, which then holds no folder's links.
    void clearLinkList();
    // True while the list holds a link file read only up to a damaged line and not written since.
    bool linkListReadInPart() const { return m_damagedLinkFile.has_value(); }
    // True while the list is empty because its folder's file could not be read (an I/O error).
    bool linkListUnread() const { return m_unreadLinkFile.has_value(); }
    // Writes the list as the folder's link file. The working file of a folder whose file could
    // not be read (an I/O error) is not overwritten: that throws the reading's error again.
    void SaveLinkFile(std::string_view folderName, std::string_view ext);
    void CopyLinkFile(std::string_view folderName, std::string_view fromExt, std::string_view toExt);
    void DeleteLinkFile(std::string_view folderName);

    // Folder descriptions. A folder without a description pair has the empty description.
    const std::string& ShowFolderDescription(std::string_view folderName);
    void GetFolderDescription(std::string_view folderName, std::string& description) const;
    void AddFolderDescription(std::string_view folderName, std::string_view description);
    void AppendFolderDescription(std::string_view folderName, std::string_view description);
    // Adds many (name, description) pairs with one write, as AddFolderDescription adds one.
    void AddFolderDescriptions(const std::vector<DescriptionPair>& pairs);
    // Every folder name of folddesc.wnf with its description. The file is read again only when
    // it has changed since the last call.
    const std::unordered_map<std::string, std::string>& folderDescriptions() const;
    void PurgeDeletedFolders();

    // Save and revert.
    // Deletes the backups of folders gone since the last save; with a batch, as part of it.
    void PurgeLinkBackups(StagedWrites* batch = nullptr);
    void BackupFolderDescriptions(StagedWrites& saved);
    void SaveLibrary();
    void RevertLibrary(const std::vector<std::string>& newFolders);

private:
    std::vector<std::string> savedFolderNames() const;
    std::unordered_set<std::string_view> folderNames() const;
    void appendDescriptionPairs(const std::vector<DescriptionPair>& pairs, std::string existing);

    struct DescriptionCache {
        bool valid = false;
        FileStamp stamp;
        std::unordered_map<std::string, std::string> descriptions;
    };

    LibraryPaths m_paths;
    const Clock& m_clock;
    mutable DescriptionCache m_descriptionCache;
    TFolderTree m_folderTree;
    TLinkList m_linkList;
    std::vector<std::string> m_linkDescriptions;
    std::optional<std::string> m_damagedLinkFile; // the folder whose working link file was read in part
    std::optional<std::string> m_linkListFolder;  // the folder whose links the list holds
    std::optional<std::pair<std::string, Error>> m_unreadLinkFile; // a folder whose file could not be read, why
    std::string m_folderDescription;
};

} // namespace velloria
