#pragma once

#include "platform/files/FreeSpaceService.h"

namespace platform {

// The free space of the medium that plays drive A:.
class DriveAFreeSpace final : public FreeSpaceService {
  public:
    std::optional<std::uint64_t> freeBytesOnDriveA() override;
};

} // namespace platform
