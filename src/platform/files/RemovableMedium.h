#pragma once

#include "platform/files/MountTable.h"

#include <string>

namespace platform {

// Tells removable media (USB sticks, memory cards, floppies) from the machine's own disks.
class RemovableMedium final {
  public:
    // A mount is on removable media when it lies below /media/ or /run/media/, where the desktop
    // mounts what is plugged in, or when sysfs, found below sysRoot, calls its block device (or
    // the disk it is a partition of) removable.
    static bool isRemovable(const MountTable::Mount& mount, const std::string& sysRoot = "/sys");

    // Whether the open file lies on removable media. Asked of the descriptor's own mount, so
    // neither links nor the path it was opened by can mislead it.
    static bool holds(int descriptor);

  private:
    static bool removableDevice(const std::string& device, const std::string& sysRoot);
};

} // namespace platform
