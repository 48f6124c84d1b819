#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// How many bytes one new file can take on the medium in drive A:; nothing when there is no
// medium or it cannot be read.
class FreeSpaceService {
  public:
    virtual ~FreeSpaceService() = default;
    virtual std::optional<std::uint64_t> freeBytesOnDriveA() = 0;
};

} // namespace platform
