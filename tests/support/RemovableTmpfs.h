#pragma once

#include "support/ScratchTmpfs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace test {

// A tmpfs mounted where the desktop mounts what is plugged in (below /run/media), so that the
// program takes it for a removable medium. Check mounted() first: mounting needs a privilege.
class RemovableTmpfs final {
  public:
    explicit RemovableTmpfs(const std::string& options) {
        m_madeRoot = mkdir("/run/media", 0755) == 0;
        if (mkdtemp(m_parent.data()) != nullptr)
            m_medium = std::make_unique<ScratchTmpfs>(m_parent, options);
    }
    ~RemovableTmpfs() {
        m_medium.reset();
        rmdir(m_parent.c_str());
        if (m_madeRoot)
            rmdir("/run/media"); // fails, as it should, while another test has a medium there
    }
    RemovableTmpfs(const RemovableTmpfs&) = delete;
    RemovableTmpfs& operator=(const RemovableTmpfs&) = delete;

    bool mounted() const { return m_medium && m_medium->mounted(); }
    std::string failure() const {
        return m_medium ? m_medium->failure() : "cannot make a directory below /run/media";
    }
    const std::string& path() const { return m_medium->path(); }
    std::string file(const std::string& name) const { return m_medium->file(name); }

  private:
    std::string m_parent = "/run/media/sundrel-test-XXXXXX";
    bool m_madeRoot = false;
    std::unique_ptr<ScratchTmpfs> m_medium;
};

} // namespace test
