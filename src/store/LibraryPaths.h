#pragma once

#include <filesystem>
#include <string_view>

namespace velloria {

inline constexpr std::string_view kWorkingTreeFile = "folders.wnf";
inline constexpr std::string_view kSavedTreeFile = "folders.~wnf";
inline constexpr std::string_view kWorkingDescriptionFile = "folddesc.wnf";
inline constexpr std::string_view kSavedDescriptionFile = "folddesc.~wnf";
inline constexpr std::string_view kFolderStateFile = "foldst.wnf";
inline constexpr std::string_view kWorkingLinkExt = ".wnl";
inline constexpr std::string_view kSavedLinkExt = ".~wnl";
inline constexpr std::string_view kUndoLinkExt = ".wnt";
inline constexpr std::string_view kDamagedLinkExt = ".damaged";
inline constexpr std::string_view kSaveInProgressFile = "save-in-progress";

// Where the files of a library live: under the home, RefLib holds the tree, description and
// state files, and RefLib/Links one link file a folder and generation.
class LibraryPaths {
public:
    explicit LibraryPaths(std::filesystem::path home) : m_home(std::move(home)) {}

    const std::filesystem::path& home() const { return m_home; }
    std::filesystem::path refLibDirectory() const { return m_home / "RefLib"; }
    std::filesystem::path linksDirectory() const { return refLibDirectory() / "Links"; }
    std::filesystem::path libraryFile(std::string_view fileName) const { return refLibDirectory() / fileName; }
    // RefLib/Links/<folder><ext>; refuses a name that cannot be a file stem.
    std::filesystem::path linkFilePath(std::string_view folderName, std::string_view ext) const;

private:
    std::filesystem::path m_home;
};

} // namespace velloria
