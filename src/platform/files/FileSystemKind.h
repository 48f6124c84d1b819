#pragma once

#include <string>

namespace platform {

// File systems whose files are not data a user keeps.
class FileSystemKind final {
  public:
    // The kernel's views of itself (proc, sysfs, debugfs and the like): their files read as
    // something other than their length says, and writing them changes the running system.
    static bool isPseudo(int descriptor);
    // Whether the file or directory at path lies on the file system of device nodes (devtmpfs):
    // nothing is made there.
    static bool holdsDeviceNodes(const std::string& path);
    // The same for an open file or directory.
    static bool holdsDeviceNodes(int descriptor);
};

} // namespace platform
