#include "support/Mounts.h"

#include "base/Error.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace velloria::test {

namespace fs = std::filesystem;

ReadOnlyDirectory::ReadOnlyDirectory(const fs::path& root) : m_root(root)
{
    if (::geteuid() == 0) {
        m_mounted = ::mount(root.c_str(), root.c_str(), nullptr, MS_BIND, nullptr) == 0;
        m_made = m_mounted && ::mount(nullptr, root.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        m_reason = systemReason(EROFS);
        return;
    }
    m_directories.push_back(root);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_directory())
            m_directories.push_back(entry.path());
    for (const fs::path& directory : m_directories)
        fs::permissions(directory, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    m_made = true;
    m_reason = systemReason(EACCES);
}

ReadOnlyDirectory::~ReadOnlyDirectory()
{
    if (m_mounted)
        ::umount2(m_root.c_str(), MNT_DETACH);
    std::error_code ignored;
    for (const fs::path& directory : m_directories)
        fs::permissions(directory, fs::perms::owner_write, fs::perm_options::add, ignored);
}

SmallDisk::SmallDisk(const fs::path& at, std::size_t bytes) : m_at(at)
{
    m_mounted = ::mount("tmpfs", at.c_str(), "tmpfs", 0, ("size=" + std::to_string(bytes)).c_str()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(m_at.c_str(), MNT_DETACH);
}

void SmallDisk::fill(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const std::string block(4096, 'f');
    while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
    }
    if (fd >= 0)
        ::close(fd);
}

} // namespace velloria::test
