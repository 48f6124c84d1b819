#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The file systems that this process sees mounted, in the order they were mounted.
class MountTable final {
  public:
    struct Mount {
        std::string device;     // "major:minor" of the device that holds the file system
        std::string mountPoint; // absolute, as this process sees it
        std::string fileSystem; // type, such as "vfat" or "ext2"
    };

    // Parses the text of /proc/self/mountinfo.
    static std::vector<Mount> parse(const std::string& mountInfo);
    static std::vector<Mount> current();
    // The file system mounted last on exactly that directory (an absolute, resolved path).
    static std::optional<Mount> mountedOn(const std::vector<Mount>& mounts,
                                          const std::string& directory);
};

} // namespace platform
