#include "support/ScratchTmpfs.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace test {

ScratchTmpfs::ScratchTmpfs(const std::string& parent, const std::string& options) {
    std::string pattern = parent + "/mount-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        m_failure = "cannot make a mount point: " + std::string(std::strerror(errno));
        return;
    }
    m_path = pattern;
    if (mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        m_failure = "mounting a tmpfs is not permitted here: " + std::string(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

ScratchTmpfs::~ScratchTmpfs() {
    if (m_mounted && umount2(m_path.c_str(), 0) != 0)
        umount2(m_path.c_str(), MNT_DETACH);
    if (!m_path.empty())
        rmdir(m_path.c_str());
}

bool ScratchTmpfs::remountReadOnly() {
    return mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

} // namespace test
