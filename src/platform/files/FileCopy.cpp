#include "platform/files/FileCopy.h"

#include "platform/files/PosixFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>

namespace platform {

FileCopy::Result FileCopy::copy(int source, int target, std::uint64_t count,
                                const BetweenChunks& betweenChunks) {
    const InKernel inKernel = copyInKernel(source, target, count, betweenChunks);
    if (inKernel.interrupted)
        return {Outcome::interrupted, {}, inKernel.moved};
    if (inKernel.moved == count)
        return {Outcome::complete, {}, inKernel.moved};
    return copyThroughBuffer(source, target, count, inKernel.moved, betweenChunks);
}

// copy_file_range() keeps the bytes in the kernel. Whenever it stops short, for whatever reason,
// the buffered copy takes over from the bytes moved so far: it works where the kernel copy does
// not (other file systems, devices), and it tells a failing source from a failing target, and a
// source that ends from a call that merely stopped. Returns the bytes moved.
FileCopy::InKernel FileCopy::copyInKernel(int source, int target, std::uint64_t count,
                                          const BetweenChunks& betweenChunks) {
    std::uint64_t moved = 0;
    while (moved < count) {
        const auto chunk = static_cast<std::size_t>(std::min(count - moved, chunkSize));
        const ssize_t done = copy_file_range(source, nullptr, target, nullptr, chunk, 0);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            break;
        moved += static_cast<std::uint64_t>(done);
        if (moved < count && betweenChunks && !betweenChunks())
            return {moved, true};
    }
    return {moved, false};
}

FileCopy::Result FileCopy::copyThroughBuffer(int source, int target, std::uint64_t count,
                                             std::uint64_t moved,
                                             const BetweenChunks& betweenChunks) {
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunkSize]);
    if (!buffer)
        return {Outcome::readFailed, FileError::of(ENOMEM), moved};
    while (moved < count) {
        const std::uint64_t wanted = std::min(count - moved, chunkSize);
        const PosixFile::Transfer read = PosixFile::read(source, buffer.get(), wanted);
        if (read.error)
            return {Outcome::readFailed, read.error, moved};
        const PosixFile::Transfer written = PosixFile::write(target, buffer.get(), read.count);
        moved += written.count;
        if (written.error)
            return {Outcome::writeFailed, written.error, moved};
        if (written.count < read.count)
            return {Outcome::writeShort, {}, moved};
        if (read.count < wanted)
            return {Outcome::sourceEnded, {}, moved};
        if (moved < count && betweenChunks && !betweenChunks())
            return {Outcome::interrupted, {}, moved};
    }
    return {Outcome::complete, {}, moved};
}

} // namespace platform
