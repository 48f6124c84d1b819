#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace test {

// A loop device over an image file of the test's own, detached when the object goes. Check
// attached() first: attaching one needs a privilege.
class LoopDevice final {
  public:
    explicit LoopDevice(const std::string& image) {
        FILE* output = popen(("timeout 60 losetup -f --show '" + image + "' 2>&1").c_str(), "r");
        char line[256] = {};
        const bool read = output != nullptr && std::fgets(line, sizeof line, output) != nullptr;
        const bool succeeded = output != nullptr && pclose(output) == 0;
        m_path = line;
        if (!m_path.empty() && m_path.back() == '\n')
            m_path.pop_back();
        m_attached = read && succeeded && m_path.rfind("/dev/", 0) == 0;
        if (!m_attached)
            m_failure = "cannot attach a loop device: " + m_path;
    }
    ~LoopDevice() {
        if (m_attached)
            std::system(("losetup -d " + m_path).c_str());
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    bool attached() const { return m_attached; }
    const std::string& failure() const { return m_failure; }
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    std::string m_failure;
    bool m_attached = false;
};

} // namespace test
