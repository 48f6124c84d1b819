#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The file systems that this process sees mounted, in the order they were mounted.
class MountTable final {
  public:
    struct Mount {
        int id = 0;             // the mount's own number, as statx() gives it for its files
        std::string device;     // "major:minor" of the device that holds the file system
        std::string mountPoint; // absolute, as this process sees it
        std::string fileSystem; // type, such as "vfat" or "ext2"
    };

    // Parses the text of /proc/self/mountinfo.
    static std::vector<Mount> parse(const std::string& mountInfo);
    // The table now. Read again only after the kernel has said that it changed.
    static std::vector<Mount> current();
    static std::optional<Mount> currentWithId(int id);
    static bool anyCurrent(const std::function<bool(const Mount&)>& matches);
    static std::optional<Mount> withId(const std::vector<Mount>& mounts, int id);
    // The mount that holds that file or directory now.
    static std::optional<Mount> holding(const std::string& path);
};

} // namespace platform
