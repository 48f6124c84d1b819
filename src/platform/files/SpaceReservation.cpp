#include "platform/files/SpaceReservation.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace platform {

namespace {

bool lackOfRoom(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// The search stops this close to the largest reservation that fits: a block, or on a large
// medium a 4096th of the request, so that it takes at most a few dozen tries.
std::uint64_t searchStep(int descriptor, std::uint64_t bytes) {
    struct stat status {};
    const std::uint64_t block = fstat(descriptor, &status) == 0 && status.st_blksize > 0
                                    ? static_cast<std::uint64_t>(status.st_blksize)
                                    : 4096;
    const std::uint64_t share = bytes / 4096 / block * block;
    return std::max(block, share);
}

} // namespace

std::uint64_t SpaceReservation::reserve(int descriptor, std::uint64_t bytes) {
    const std::uint64_t fits = reserveWhatFits(descriptor, bytes);
    // btrfs sets room aside for each write itself, from what is free besides any reservation:
    // with all of it reserved, every write would wait for the file system to flush and commit.
    // The reservation has shown that the bytes fit; there they are written without it.
    struct statfs fileSystem {};
    if (fits != 0 && fstatfs(descriptor, &fileSystem) == 0 &&
        fileSystem.f_type == BTRFS_SUPER_MAGIC)
        release(descriptor);
    return fits;
}

std::uint64_t SpaceReservation::reserveWhatFits(int descriptor, std::uint64_t bytes) {
    if (bytes == 0)
        return 0;
    const int error = tryToReserve(descriptor, bytes);
    if (error == 0)
        return bytes;
    if (!lackOfRoom(error))
        return bytes;
    release(descriptor);
    const std::uint64_t fits = mostThatFits(descriptor, bytes);
    if (fits == 0)
        return 0;
    if (tryToReserve(descriptor, fits) == 0)
        return fits;
    // Another writer took the room since it was measured.
    release(descriptor);
    return 0;
}

// Only a reservation of `bytes` from the start, on a file without any, tells whether they fit:
// XFS refuses to extend a reservation by blocks that it would grant to a fresh one. Each try
// is therefore released before the next.
std::uint64_t SpaceReservation::mostThatFits(int descriptor, std::uint64_t bytes) {
    const std::uint64_t step = searchStep(descriptor, bytes);
    std::uint64_t fits = 0;      // in whole steps
    std::uint64_t fails = bytes; // known not to fit
    while (fails - fits > step) {
        const std::uint64_t middle =
            std::max(fits + step, (fits + (fails - fits) / 2) / step * step);
        const int error = tryToReserve(descriptor, middle);
        release(descriptor);
        if (error == 0)
            fits = middle;
        else if (lackOfRoom(error))
            fails = middle;
        else
            break;
    }
    return fits;
}

int SpaceReservation::tryToReserve(int descriptor, std::uint64_t bytes) {
    if (bytes > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return EFBIG;
    // Never posix_fallocate(): where the file system has no reservations it writes zeros.
    int result;
    do {
        result = fallocate(descriptor, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// A refused reservation can leave part of it taken. Truncating the (empty) file gives back every
// block beyond its end; punching a hole would not on ext4, which punches nothing past the end.
void SpaceReservation::release(int descriptor) {
    static_cast<void>(ftruncate(descriptor, 0));
}

} // namespace platform
