#pragma once

#include <filesystem>

namespace velloria {

// The lock that lets only one copy of the program work on a home directory at a time. The
// program holds it for its whole run; the command-line tool refuses to change a library whose
// lock is held. The operating system releases it when the holder ends, even after a crash.
class InstanceLock {
public:
    explicit InstanceLock(std::filesystem::path lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result { Acquired, HeldByAnother, Unavailable };

    // Takes the lock if no one holds it. Unavailable: the lock file cannot be created (a
    // read-only home), so no copy can hold it either.
    Result tryAcquire();
    bool held() const { return m_fd >= 0; }
    void release();

    static std::filesystem::path lockFileFor(const std::filesystem::path& home);

private:
    std::filesystem::path m_path;
    int m_fd = -1;
};

} // namespace velloria
