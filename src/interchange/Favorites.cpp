#include "interchange/Favorites.h"

#include "base/Error.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "store/FolderNames.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloria {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kExportDirectoryName = "Velloria";
constexpr std::string_view kShortcutExtension = ".url";
constexpr std::string_view kFallbackLinkName = "Link";
constexpr std::string_view kFallbackFolderName = "Folder";

// A file name holds at most 255 bytes; the stem leaves room for ".url", and a stem that needs a
// "_n" to be unique is shortened further so that the suffix fits as well.
constexpr std::size_t kMaxStemBytes = 250;
constexpr std::size_t kUniqueSuffixRoom = 8;

// Progress of the import is reported every so many shortcut files.
constexpr std::uint64_t kProgressFiles = 64;

// ---- Shortcut files -------------------------------------------------------------------------

// UTF-16LE (without its byte order mark) as UTF-8; a lone surrogate becomes U+FFFD.
std::string decodeUtf16Le(std::string_view bytes)
{
    const auto unitAt = [bytes](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i])
                                     | static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 && unitAt(i + 2) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

// The value of a key in a section of an INI text, both names without regard to ASCII case. The
// first occurrence counts, as it does for Windows' own INI reading.
std::optional<std::string_view> iniValue(std::string_view text, std::string_view section, std::string_view key)
{
    bool inSection = false;
    std::optional<std::string_view> value;
    forEachLine(text, [&](std::string_view line) {
        line = trimmed(line);
        if (value) {
            return;
        } else if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos && equalsIgnoringAsciiCase(trimmed(line.substr(1, close - 1)), section);
        } else if (const std::size_t equals = line.find('='); inSection && equals != std::string_view::npos) {
            if (equalsIgnoringAsciiCase(trimmed(line.substr(0, equals)), key))
                value = trimmed(line.substr(equals + 1));
        }
    });
    return value;
}

// ---- Import ---------------------------------------------------------------------------------

bool hasShortcutExtension(std::string_view fileName)
{
    return fileName.size() >= kShortcutExtension.size()
        && equalsIgnoringAsciiCase(fileName.substr(fileName.size() - kShortcutExtension.size()), kShortcutExtension);
}

// A file name as library text: UTF-8 (older names in Windows-1252 decoded), on one line.
std::string nameText(std::string_view fileName)
{
    return singleLine(toUtf8(fileName));
}

// The last component of the directory path, "Favorites" for "/home/me/Favorites/".
std::string directoryName(const fs::path& directory)
{
    std::string text = directory.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return fs::path(text).filename().string();
}

using DirectoryId = std::pair<dev_t, ino_t>;

std::optional<DirectoryId> directoryId(const fs::path& directory)
{
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return DirectoryId(info.st_dev, info.st_ino);
}

struct DirectoryListing {
    std::vector<std::string> shortcuts;
    std::vector<std::pair<std::string, DirectoryId>> subdirectories;
};

// The shortcut files and the visible subdirectories, each sorted by name bytes. Symbolic links
// are followed (a favorites directory is often a link into a Windows partition).
DirectoryListing listDirectory(const fs::path& directory)
{
    DirectoryListing listing;
    std::error_code error;
    fs::directory_iterator it(directory, error);
    if (error)
        throw cannotOpenFileError(directory, error.message());
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && hasShortcutExtension(name)) {
            listing.shortcuts.push_back(std::move(name));
        } else if (entry.is_directory(typeError) && !name.starts_with('.')) {
            if (const auto id = directoryId(entry.path()))
                listing.subdirectories.emplace_back(std::move(name), *id);
        }
    }
    if (error)
        throw cannotOpenFileError(directory, error.message());
    std::sort(listing.shortcuts.begin(), listing.shortcuts.end());
    std::sort(listing.subdirectories.begin(), listing.subdirectories.end());
    return listing;
}

class FavoritesReader {
public:
    explicit FavoritesReader(ImportSink& sink) : m_sink(sink) {}

    ImportCounts read(const fs::path& directory)
    {
        beginFolder(nameText(directoryName(directory)));
        if (const auto id = directoryId(directory))
            readContents(directory, *id);
        m_sink.endFolder();
        return m_counts;
    }

private:
    // Symbolic links to directories are followed, but never into a directory that is already
    // being read further up the current path: such a link is a loop, and it is left out.
    void readContents(const fs::path& directory, DirectoryId id)
    {
        m_path.push_back(id);
        const DirectoryListing listing = listDirectory(directory);
        for (const std::string& file : listing.shortcuts)
            readShortcut(directory / file, file);
        for (const auto& [name, subId] : listing.subdirectories) {
            if (std::find(m_path.begin(), m_path.end(), subId) != m_path.end())
                continue;
            beginFolder(nameText(name));
            readContents(directory / name, subId);
            m_sink.endFolder();
        }
        m_path.pop_back();
    }

    void beginFolder(const std::string& name)
    {
        m_sink.beginFolder(name);
        ++m_counts.folders;
    }

    void readShortcut(const fs::path& file, std::string_view fileName)
    {
        if (++m_filesDone % kProgressFiles == 0)
            m_sink.progress(m_filesDone, 0);
        std::string address;
        try {
            address = readShortcutAddress(readFile(file));
        } catch (const Error&) {
            m_counts.skip(SkipReason::Unreadable);
            return;
        }
        if (!address.starts_with("http")) {
            m_counts.skip(address.empty() ? SkipReason::NoAddress : SkipReason::NotWebAddress);
            return;
        }
        m_sink.addLink(nameText(fileName.substr(0, fileName.size() - kShortcutExtension.size())), address, "");
        ++m_counts.links;
    }

    ImportSink& m_sink;
    ImportCounts m_counts;
    std::vector<DirectoryId> m_path;
    std::uint64_t m_filesDone = 0;
};

// ---- Export ---------------------------------------------------------------------------------

// A title or name made safe as a file name in its directory: without the nine characters and
// control characters, trimmed, never empty, "." or "..".
std::string safeStem(std::string_view title, std::string_view fallback)
{
    std::string name;
    for (char c : toUtf8(title))
        if (kForbiddenNameCharacters.find(c) == std::string_view::npos && !isControl(c))
            name += c;
    const std::string_view stem = trimmed(name);
    if (stem.empty() || stem == "." || stem == "..")
        return std::string(fallback);
    return std::string(stem);
}

void makeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) != 0)
        throw cannotCreateDirectoryError(path, systemReason(errno));
}

// Writes the bytes whole; the errno of a failure, 0 on success.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Creates a new file with the bytes; false when a file of that name exists already. A file that
// could not be written whole is removed again.
bool createNewFile(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        return false;
    if (fd < 0)
        throw cannotCreateFileError(path, systemReason(errno));
    int failure = writeAll(fd, bytes);
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(path.c_str());
        throw cannotCreateFileError(path, systemReason(failure));
    }
    return true;
}

// The file names of one directory of the export, unique without regard to case.
class DirectoryNames {
public:
    // The stem itself, or stem_1, stem_2, ... when the name is taken; a long stem is cut so the
    // suffix still fits.
    std::string take(std::string_view stem)
    {
        std::string name(shortened(stem, kMaxStemBytes));
        if (m_names.tryTake(name))
            return name;
        return m_names.takeSuffixed(trimmed(shortened(stem, kMaxStemBytes - kUniqueSuffixRoom)));
    }

private:
    UniqueNames m_names;
};

// The directories of the folders, made under the root in tree order: a folder's path is its
// parent's path and its own name.
std::vector<std::string> makeFolderDirectories(const std::string& root, const std::vector<ExportFolder>& folders)
{
    std::vector<std::string> paths;
    paths.reserve(folders.size());
    std::vector<std::size_t> ancestors; // indices into paths, one per level above the folder
    for (const ExportFolder& folder : folders) {
        ancestors.resize(std::min(static_cast<std::size_t>(std::max(folder.level, 0)), ancestors.size()));
        const std::string& parent = ancestors.empty() ? root : paths[ancestors.back()];
        paths.push_back(parent + '/' + safeStem(folder.name, kFallbackFolderName));
        makeDirectory(paths.back());
        ancestors.push_back(paths.size() - 1);
    }
    return paths;
}

void writeShortcuts(const std::string& directory, const std::vector<ExportLink>& links)
{
    DirectoryNames names;
    for (const ExportLink& link : links) {
        const std::string bytes = writeShortcutFile(ExportAddress(link.address));
        const std::string stem = safeStem(link.title, kFallbackLinkName);
        // A name can still exist on disk when a subdirectory is called "<name>.url".
        while (!createNewFile(directory + '/' + names.take(stem) + std::string(kShortcutExtension), bytes)) {
        }
    }
}

} // namespace

std::string readShortcutAddress(std::string_view urlFileBytes)
{
    std::string decoded;
    if (urlFileBytes.starts_with(kUtf16LeBom)) {
        decoded = decodeUtf16Le(urlFileBytes.substr(kUtf16LeBom.size()));
        urlFileBytes = decoded;
    } else if (urlFileBytes.starts_with(kUtf8Bom)) {
        urlFileBytes.remove_prefix(kUtf8Bom.size());
    }
    const auto address = iniValue(urlFileBytes, "InternetShortcut", "URL");
    return address ? std::string(trimmed(singleLine(toUtf8(*address)))) : std::string();
}

std::string writeShortcutFile(std::string_view address)
{
    std::string bytes = "[InternetShortcut]\r\nURL=";
    bytes.append(address);
    bytes.append("\r\n");
    return bytes;
}

ImportCounts ImportIEFavorites(const std::filesystem::path& directory, ImportSink& sink)
{
    return FavoritesReader(sink).read(directory);
}

void ExportIEFavorites(const std::filesystem::path& directory, const std::vector<ExportFolder>& folders,
                       const ReadExportLinksFunction& readLinks, const ProgressFunction& progress)
{
    const fs::path root = directory / kExportDirectoryName;
    std::error_code error;
    fs::create_directories(directory, error);
    if (error)
        throw cannotCreateDirectoryError(directory, error.message());
    // remove_all deletes symbolic links themselves and never what they point to, so nothing
    // outside the old export is touched.
    fs::remove_all(root, error);
    if (error)
        throw cannotDeleteFileError(root, error.message());
    makeDirectory(root.string());

    const std::vector<std::string> paths = makeFolderDirectories(root.string(), folders);
    for (std::size_t i = 0; i < folders.size(); ++i) {
        writeShortcuts(paths[i], readLinks(folders[i].name));
        if (progress)
            progress(i + 1, folders.size());
    }
}

} // namespace velloria
