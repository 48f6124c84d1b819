#include "platform/DriveAFreeSpace.h"

#include "platform/DriveA.h"

namespace platform {

std::optional<std::uint64_t> DriveAFreeSpace::freeBytesOnDriveA() {
    return DriveA::freeSpace();
}

} // namespace platform
