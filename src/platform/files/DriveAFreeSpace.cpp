#include "platform/files/DriveAFreeSpace.h"

#include "platform/files/DriveA.h"

namespace platform {

std::optional<std::uint64_t> DriveAFreeSpace::freeBytesOnDriveA() {
    return DriveA::freeSpace();
}

} // namespace platform
