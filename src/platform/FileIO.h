#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <utility>

namespace velloria {

// The one I/O step beside the pure file formats. Files are read and written whole, in binary.
// Every write is durable when it returns: its bytes and its directory entry are flushed to disk,
// so a power loss keeps it as a crash of the program does.

// The steps every file operation goes through, in order. A watcher set with setFileStepWatcher
// sees each of them: tests stop the program at one (a crash point) or make one fail.
enum class FileStep : unsigned char {
    Read,             // before a file is opened for reading
    CreateDirectory,  // before a missing directory is created
    CreateTemporary,  // before the temporary file of a write is created (path: the target)
    WritePart,        // after the first part of the bytes is written (path: the temporary file)
    FlushFile,        // before the temporary file's bytes are flushed to disk
    FileFlushed,      // after
    Rename,           // before the temporary file (from) is renamed over the target (path)
    Renamed,          // after
    FlushDirectory,   // before a directory's entries are flushed to disk
    DirectoryFlushed, // after
    Delete,           // before a file is deleted
    Deleted,          // after (also when it did not exist)
};

class FileStepWatcher {
public:
    virtual ~FileStepWatcher() = default;
    // Returns 0 to go on, or an errno value with which the step then fails.
    virtual int at(FileStep step, const std::filesystem::path& path, const std::filesystem::path& from) = 0;
};

// The watcher of every file step from now on; nullptr for none. Not for use while another thread
// writes files.
void setFileStepWatcher(FileStepWatcher* watcher);

// What tells one version of a file from another without reading it: every write replaces a file
// with a new one, so its inode tells a change even within one tick of the clock. Equal for two
// missing files.
struct FileStamp {
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modified = 0; // nanoseconds
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::filesystem::path& path);

// A new empty directory in the system's temporary directory ($TMPDIR, else /tmp), named after
// the prefix, removed with everything in it when the object goes. Throws "Cannot create
// directory ..." when it cannot be made.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(std::string_view prefix);
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The file's bytes; nullopt when it does not exist. Other failures (no permission, a directory
// in its place) throw "Cannot open file ...".
std::optional<std::string> readFileIfExists(const std::filesystem::path& path);

// A file's bytes mapped into memory read-only, for reading a large file without copying it.
class MappedFile {
public:
    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile();
    std::string_view bytes() const { return m_mapped ? std::string_view(m_data, m_size) : std::string_view(m_copy); }

private:
    friend std::optional<MappedFile> mapFileIfExists(const std::filesystem::path& path);
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_mapped = false;
    std::string m_copy; // what a file that cannot be mapped (a pipe, an empty file) holds
};

// The file mapped as MappedFile; nullopt when it does not exist. Errors as readFileIfExists.
std::optional<MappedFile> mapFileIfExists(const std::filesystem::path& path);

// The file's bytes; a missing file throws "Cannot open file "<path>". <reason>".
std::string readFile(const std::filesystem::path& path);

// Writes the bytes to a new file in the target's directory, flushes it, renames it over the
// target and flushes the directory, so a crash, a power loss or a full disk leaves either the old
// or the new content, never a truncated file. On failure the temporary file is removed, the
// target is unchanged, and "Cannot create file ..." is thrown.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// The same for bytes made in parts, written one after another, so that a large file is never in
// memory twice.
void writeFileAtomically(const std::filesystem::path& path, const std::vector<std::string>& parts);

// Files written in two steps: stage() writes each file's bytes beside its target under a
// temporary name, commit() flushes them all to disk together, renames them into place, deletes
// the files staged for deletion and flushes each directory once. Until commit() no target
// changes, so a failure while staging (a full disk) leaves every target as it was. What was
// staged and not committed is removed when the object goes; a failed flush or rename in commit()
// throws "Cannot create file ..." with the files renamed before it in place.
class StagedWrites {
public:
    StagedWrites() = default;
    ~StagedWrites();
    StagedWrites(const StagedWrites&) = delete;
    StagedWrites& operator=(const StagedWrites&) = delete;

    void stage(const std::filesystem::path& path, std::string_view bytes);
    // Stages only when the bytes differ from what the file holds.
    void stageIfChanged(const std::filesystem::path& path, std::string_view bytes);
    // Deletes the file at commit(), after the renames; a missing file is no error.
    void stageRemoval(const std::filesystem::path& path);
    // What a failed commit() does with the files it had renamed into place already: keep them, or
    // remove them again (where every target is a new file, so that nothing of the batch stays).
    enum class Renamed { Keep, Remove };
    void commit(Renamed onFailure = Renamed::Keep);

private:
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> m_files; // temporary, target
    std::vector<std::filesystem::path> m_removals;
};

// Writes the file as writeFileAtomically does, but only when its bytes differ, so that writing
// what a file already holds changes nothing on disk.
void writeFileIfChanged(const std::filesystem::path& path, std::string_view bytes);

// Deletes the file and flushes its directory; a missing file is no error.
void removeFileIfExists(const std::filesystem::path& path);

bool fileExists(const std::filesystem::path& path);

// Creates the directory (and its parents) when missing.
void createDirectory(const std::filesystem::path& path);

// Removes temporary files that an interrupted write left in the directory. Only the holder of
// the instance lock calls it, so no write in progress is disturbed.
void removeStaleTemporaryFiles(const std::filesystem::path& directory);

} // namespace velloria
