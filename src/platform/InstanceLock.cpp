#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velloria {

InstanceLock::InstanceLock(std::filesystem::path lockFile) : m_path(std::move(lockFile)) {}

InstanceLock::~InstanceLock()
{
    release();
}

InstanceLock::Result InstanceLock::tryAcquire()
{
    if (m_fd >= 0)
        return Result::Acquired;
    int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Result::HeldByAnother;
    }
    m_fd = fd;
    return Result::Acquired;
}

void InstanceLock::release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

std::filesystem::path InstanceLock::lockFileFor(const std::filesystem::path& home)
{
    return home / ".velloria.lock";
}

} // namespace velloria
