#include "platform/DriveAFreeSpace.h"

namespace platform {

std::optional<std::uint64_t> DriveAFreeSpace::freeBytesOnDriveA() { return std::nullopt; }

} // namespace platform
