#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace test {

// A tmpfs mounted for one test on a fresh directory below parent, unmounted (lazily if it is
// busy) and removed when the object goes. Check mounted() first: mounting needs a privilege.
class ScratchTmpfs final {
  public:
    ScratchTmpfs(const std::string& parent, const std::string& options)
        : m_path(parent + "/mount-XXXXXX") {
        m_mounted = mkdtemp(m_path.data()) != nullptr &&
                    mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!m_mounted)
            m_failure = "cannot mount a tmpfs here: " + std::string(std::strerror(errno));
    }
    ~ScratchTmpfs() {
        if (m_mounted && umount2(m_path.c_str(), 0) != 0)
            umount2(m_path.c_str(), MNT_DETACH);
        rmdir(m_path.c_str());
    }
    ScratchTmpfs(const ScratchTmpfs&) = delete;
    ScratchTmpfs& operator=(const ScratchTmpfs&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& failure() const { return m_failure; }
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    bool remountReadOnly() {
        return mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string m_path;
    std::string m_failure;
    bool m_mounted = false;
};

} // namespace test
