#pragma once

#include <string>

namespace test {

// A tmpfs mounted for one test on a fresh directory below parent, unmounted (lazily if it is
// busy) and removed when the object goes. Check mounted() first: mounting needs a privilege.
class ScratchTmpfs final {
  public:
    ScratchTmpfs(const std::string& parent, const std::string& options);
    ~ScratchTmpfs();
    ScratchTmpfs(const ScratchTmpfs&) = delete;
    ScratchTmpfs& operator=(const ScratchTmpfs&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& failure() const { return m_failure; }
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    bool remountReadOnly();

  private:
    std::string m_path;
    std::string m_failure;
    bool m_mounted = false;
};

} // namespace test
