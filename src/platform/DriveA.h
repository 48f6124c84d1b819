#pragma once

#include "platform/MountTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Drive A:, the removable medium that receives segments one disk at a time.
class DriveA final {
  public:
    // The medium's root directory. SUNDREL_DRIVE_A names it when set; otherwise it is the most
    // recently mounted removable medium. Nothing when there is no medium.
    static std::optional<std::string> directory();

    // What one new file on the medium can take, in bytes. Nothing when there is no medium, when
    // drive A:'s directory is not the root of a mounted file system (a bare directory is never a
    // medium), or when the file system cannot be asked.
    static std::optional<std::uint64_t> freeSpace();

    // The mount point of the most recently mounted removable medium in mounts: one mounted below
    // /media/ or /run/media/, or whose block device (or the disk it is a partition of) sysfs, found
    // below sysRoot, calls removable.
    static std::optional<std::string> mostRecentMedium(const std::vector<MountTable::Mount>& mounts,
                                                       const std::string& sysRoot = "/sys");

  private:
    static bool removableDevice(const std::string& device, const std::string& sysRoot);
};

} // namespace platform
