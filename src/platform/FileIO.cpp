#include "platform/FileIO.h"

#include "base/Error.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <utility>

namespace velloria {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".vtmp-";

FileStepWatcher* g_watcher = nullptr;

// Tells the watcher of the step; returns 0 to go on, or the errno value the step fails with.
int passStep(FileStep step, const fs::path& path, const fs::path& from = {})
{
    return g_watcher ? g_watcher->at(step, path, from) : 0;
}

// Runs the system call unless the watcher fails the step; false with errno set on failure.
template <typename Call>
bool stepped(FileStep step, const fs::path& path, Call call, const fs::path& from = {})
{
    if (const int error = passStep(step, path, from)) {
        errno = error;
        return false;
    }
    return call();
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { closeNow(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int closeNow()
    {
        const int result = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string temporaryName()
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + '-'
        + std::to_string(seed % 100000) + '-' + std::to_string(counter++);
}

// Opens a new temporary file beside the target, with the target's permissions when it exists.
int openTemporaryFile(const fs::path& target, fs::path& temporary)
{
    if (const int error = passStep(FileStep::CreateTemporary, target)) {
        errno = error;
        return -1;
    }
    struct stat targetStat {};
    const bool targetExists = ::stat(target.c_str(), &targetStat) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / temporaryName();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (targetExists)
                ::fchmod(fd, targetStat.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Opens a file for reading and tells what it is; nullopt when it does not exist. A directory or
// another failure throws "Cannot open file ...".
std::optional<FileDescriptor> openForReading(const fs::path& path, struct stat& info)
{
    if (const int error = passStep(FileStep::Read, path))
        throw cannotOpenFileError(path, systemReason(error));
    std::optional<FileDescriptor> fd(std::in_place, ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd->valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        throw cannotOpenFileError(path, systemReason(errno));
    }
    if (::fstat(fd->get(), &info) != 0)
        throw cannotOpenFileError(path, systemReason(errno));
    if (S_ISDIR(info.st_mode))
        throw cannotOpenFileError(path, systemReason(EISDIR));
    return fd;
}

} // namespace

TemporaryDirectory::TemporaryDirectory(std::string_view prefix)
{
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / (std::string(prefix) + "-XXXXXX")).string();
    if (error || ::mkdtemp(pattern.data()) == nullptr)
        throw cannotCreateDirectoryError(pattern, systemReason(error ? error.value() : errno));
    m_path = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

FileStamp fileStamp(const fs::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {static_cast<std::uint64_t>(info.st_ino), info.st_size,
            info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

std::optional<std::string> readFileIfExists(const fs::path& path)
{
    struct stat info {};
    const std::optional<FileDescriptor> fd = openForReading(path, info);
    if (!fd)
        return std::nullopt;
    std::string bytes;
    if (S_ISREG(info.st_mode))
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd->get(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw cannotOpenFileError(path, systemReason(errno));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, false)), m_copy(std::move(other.m_copy))
{
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        this->~MappedFile();
        new (this) MappedFile(std::move(other));
    }
    return *this;
}

MappedFile::~MappedFile()
{
    if (m_mapped)
        ::munmap(const_cast<char*>(m_data), m_size);
}

std::optional<MappedFile> mapFileIfExists(const fs::path& path)
{
    struct stat info {};
    std::optional<FileDescriptor> fd = openForReading(path, info);
    if (!fd)
        return std::nullopt;
    MappedFile file;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd->get(), 0);
        if (data != MAP_FAILED) {
            ::madvise(data, static_cast<std::size_t>(info.st_size), MADV_SEQUENTIAL | MADV_WILLNEED);
            file.m_data = static_cast<const char*>(data);
            file.m_size = static_cast<std::size_t>(info.st_size);
            file.m_mapped = true;
            return file;
        }
    }
    fd->closeNow();
    file.m_copy = readFile(path);
    return file;
}

std::string readFile(const fs::path& path)
{
    if (auto bytes = readFileIfExists(path))
        return std::move(*bytes);
    throw cannotOpenFileError(path, systemReason(ENOENT));
}

namespace {

// Flushes the file's bytes to disk: the file itself when one is given, else (flushing many
// files at once) the whole file system the directory is on.
bool flushToDisk(const fs::path& path, bool wholeFileSystem)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return false;
    return (wholeFileSystem ? ::syncfs(fd.get()) : ::fdatasync(fd.get())) == 0;
}

// Flushes the directory's entries, so that a rename or a delete in it survives a power loss.
void flushDirectory(const fs::path& directory)
{
    const fs::path& where = directory.empty() ? fs::path(".") : directory;
    const bool flushed = stepped(FileStep::FlushDirectory, where, [&] {
        FileDescriptor fd(::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return fd.valid() && ::fsync(fd.get()) == 0;
    });
    if (!flushed)
        throw cannotCreateFileError(where, systemReason(errno));
    passStep(FileStep::DirectoryFlushed, where);
}

// Writes the bytes to a new temporary file beside the target and returns its path; with flush,
// its bytes are on disk when it returns. On failure the temporary file is gone and "Cannot
// create file <target>" is thrown.
std::vector<std::string_view> halves(std::string_view bytes)
{
    return {bytes.substr(0, bytes.size() / 2), bytes.substr(bytes.size() / 2)};
}

// The pieces one after another; the step of a partly written file comes after the first half.
fs::path writeTemporaryFile(const fs::path& path, const std::vector<std::string_view>& pieces, bool flush)
{
    fs::path temporary;
    FileDescriptor fd(openTemporaryFile(path, temporary));
    if (!fd.valid())
        throw cannotCreateFileError(path, systemReason(errno));
    const auto writePieces = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (!writeAll(fd.get(), pieces[i]))
                return false;
        return true;
    };
    const std::size_t half = pieces.size() / 2;
    bool written = writePieces(0, half)
        && stepped(FileStep::WritePart, temporary, [&] { return writePieces(half, pieces.size()); });
    if (written && flush) {
        written = stepped(FileStep::FlushFile, temporary, [&] { return ::fdatasync(fd.get()) == 0; });
        if (written)
            passStep(FileStep::FileFlushed, temporary);
    }
    int error = errno;
    const bool closed = fd.closeNow() == 0;
    if (written && !closed)
        error = errno;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        throw cannotCreateFileError(path, systemReason(error));
    }
    return temporary;
}

void renameIntoPlace(const fs::path& temporary, const fs::path& path)
{
    if (!stepped(FileStep::Rename, path, [&] { return ::rename(temporary.c_str(), path.c_str()) == 0; }, temporary)) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw cannotCreateFileError(path, systemReason(error));
    }
    passStep(FileStep::Renamed, path, temporary);
}

void removeFile(const fs::path& path)
{
    if (!stepped(FileStep::Delete, path, [&] { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }))
        throw cannotDeleteFileError(path, systemReason(errno));
    passStep(FileStep::Deleted, path);
}

} // namespace

void setFileStepWatcher(FileStepWatcher* watcher)
{
    g_watcher = watcher;
}

void writeFileAtomically(const fs::path& path, std::string_view bytes)
{
    renameIntoPlace(writeTemporaryFile(path, halves(bytes), true), path);
    flushDirectory(path.parent_path());
}

void writeFileAtomically(const fs::path& path, const std::vector<std::string>& parts)
{
    renameIntoPlace(writeTemporaryFile(path, std::vector<std::string_view>(parts.begin(), parts.end()), true), path);
}

StagedWrites::~StagedWrites()
{
    for (const auto& [temporary, target] : m_files)
        ::unlink(temporary.c_str());
}

void StagedWrites::stage(const fs::path& path, std::string_view bytes)
{
    // Room first, so that the file written is always recorded (and removed again on failure);
    // doubling, since a batch of a large import or save holds thousands of files.
    if (m_files.size() == m_files.capacity())
        m_files.reserve(std::max<std::size_t>(16, 2 * m_files.size()));
    m_files.emplace_back(writeTemporaryFile(path, halves(bytes), false), path);
}

void StagedWrites::stageIfChanged(const fs::path& path, std::string_view bytes)
{
    const auto existing = readFileIfExists(path);
    if (!existing || *existing != bytes)
        stage(path, bytes);
}

void StagedWrites::stageRemoval(const fs::path& path)
{
    m_removals.push_back(path);
}

void StagedWrites::commit(Renamed onFailure)
{
    auto files = std::move(m_files);
    m_files.clear();
    std::vector<fs::path> directories;
    const auto addDirectory = [&](const fs::path& path) {
        const fs::path directory = path.parent_path().empty() ? fs::path(".") : path.parent_path();
        if (std::find(directories.begin(), directories.end(), directory) == directories.end())
            directories.push_back(directory);
    };
    for (const auto& [temporary, target] : files)
        addDirectory(target);
    std::size_t renamed = 0;
    // After a failure: the temporary files go, and with Renamed::Remove the files renamed too.
    const auto discard = [&] {
        for (std::size_t i = 0; i < files.size(); ++i)
            if (i >= renamed || onFailure == Renamed::Remove)
                ::unlink((i >= renamed ? files[i].first : files[i].second).c_str());
    };
    const auto fail = [&](int error, const fs::path& target) {
        discard();
        throw cannotCreateFileError(target, systemReason(error));
    };
    // One flush of the file system writes many files at about the cost of one; a single file is
    // flushed alone.
    for (const auto& [temporary, target] : files)
        if (const int error = passStep(FileStep::FlushFile, temporary))
            fail(error, target);
    if (files.size() == 1 && !flushToDisk(files.front().first, false))
        fail(errno, files.front().second);
    for (const fs::path& directory : files.size() > 1 ? directories : std::vector<fs::path>{})
        if (!flushToDisk(directory, true))
            fail(errno, directory);
    for (const auto& [temporary, target] : files)
        passStep(FileStep::FileFlushed, temporary);
    try {
        for (; renamed < files.size(); ++renamed)
            renameIntoPlace(files[renamed].first, files[renamed].second);
        for (const fs::path& path : std::exchange(m_removals, {})) {
            removeFile(path);
            addDirectory(path);
        }
        for (const fs::path& directory : directories)
            flushDirectory(directory);
    } catch (const Error&) {
        discard();
        throw;
    }
}

void writeFileIfChanged(const fs::path& path, std::string_view bytes)
{
    const auto existing = readFileIfExists(path);
    if (!existing || *existing != bytes)
        writeFileAtomically(path, bytes);
}

void removeFileIfExists(const fs::path& path)
{
    removeFile(path);
    flushDirectory(path.parent_path());
}

bool fileExists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

void createDirectory(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return;
    if (const int error = passStep(FileStep::CreateDirectory, path))
        throw cannotCreateDirectoryError(path, systemReason(error));
    fs::create_directories(path, ec);
    if (ec)
        throw cannotCreateDirectoryError(path, ec.message());
}

void removeStaleTemporaryFiles(const fs::path& directory)
{
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kTemporaryPrefix))
            fs::remove(it->path(), ec);
    }
}

} // namespace velloria
