#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The folder in which an operation makes or reads many files (the segments of a set), looked at
// once for all of them: what holds for every file of its file system (whether it is one of the
// kernel's own, whether it holds device nodes) is not asked again for each file. A file found on
// another file system (its path has come to lead elsewhere) is looked at on its own.
class Folder final {
  public:
    // The folder of the path a name stands for (FileNames::resolve()). A folder that cannot be
    // looked at is known for nothing: its files are looked at one by one.
    explicit Folder(const std::string& name);

    // Whether a file of that device (as stat() numbers it) lies on the folder's file system.
    bool holdsFilesOf(std::uint64_t device) const { return m_known && device == m_device; }
    bool pseudo() const { return m_pseudo; }
    bool holdsDeviceNodes() const { return m_deviceNodes; }
    // Whether a new file may be made in the folder without a look of its own.
    bool takesNewFiles() const { return m_known && !m_pseudo && !m_deviceNodes; }

  private:
    bool m_known = false;
    std::uint64_t m_device = 0;
    bool m_pseudo = false;
    bool m_deviceNodes = false;
};

} // namespace platform
