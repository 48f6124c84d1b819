#pragma once

#include <cstdint>

namespace platform {

// Room taken on a medium for a file before its bytes are written, so that a file sized to the
// free space that the file system reports is sure to fit: on XFS and ext4 one file cannot take
// all of it.
class SpaceReservation final {
  public:
    // Reserves room for up to `bytes` in the file just created (empty) behind the descriptor,
    // without changing its length, so a write that is cut short leaves no bytes of its own
    // behind: the whole request, or when that does not fit the most that does, in whole blocks
    // (0 when nothing fits). Where the file system has no reservations, or refuses one for another
    // reason than lack of room, nothing is reserved and the request comes back whole: the writes
    // then meet whatever fault there is.
    static std::uint64_t reserve(int descriptor, std::uint64_t bytes);

  private:
    static std::uint64_t reserveWhatFits(int descriptor, std::uint64_t bytes);
    static int tryToReserve(int descriptor, std::uint64_t bytes);
    static void release(int descriptor);
    static std::uint64_t mostThatFits(int descriptor, std::uint64_t bytes);
};

} // namespace platform
