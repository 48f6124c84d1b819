#include "platform/files/FileCopy.h"

#include "platform/checksums/ChunkHasher.h"
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
        if (moved < count && betweenChunks && !betweenChunks(moved))
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
        if (moved < count && betweenChunks && !betweenChunks(moved))
            return {Outcome::interrupted, {}, moved};
    }
    return {Outcome::complete, {}, moved};
}

namespace {

// One chunk copied in the kernel from the source's position, and read back from where it was for
// the digests. Returns the bytes moved: 0 when the kernel copy does not work here, and the read's
// failure, or a source that gave back fewer bytes than it had moved, in result.
std::uint64_t copyChunkInKernel(int source, int target, char* buffer, std::uint64_t wanted,
                                FileCopy::Result& result) {
    const off_t at = lseek(source, 0, SEEK_CUR);
    if (at < 0)
        return 0;
    ssize_t done;
    do {
        done = copy_file_range(source, nullptr, target, nullptr, wanted, 0);
    } while (done < 0 && errno == EINTR);
    if (done <= 0)
        return 0;
    const auto moved = static_cast<std::size_t>(done);
    for (std::size_t read = 0; read < moved;) {
        const ssize_t got = pread(source, buffer + read, moved - read, at + off_t(read));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            result = {got < 0 ? FileCopy::Outcome::readFailed : FileCopy::Outcome::sourceEnded,
                      got < 0 ? FileError::of(errno) : FileError{}, result.moved + moved};
            return moved;
        }
        read += static_cast<std::size_t>(got);
    }
    return moved;
}

} // namespace

FileCopy::Result FileCopy::copyHashing(int source, int target, std::uint64_t count,
                                       const BetweenChunks& betweenChunks, ChunkHasher& hasher,
                                       unsigned digests, bool inKernel) {
    Result result{Outcome::complete, {}, 0};
    while (result.moved < count) {
        const std::uint64_t wanted = std::min<std::uint64_t>(count - result.moved, chunkSize);
        char* buffer = hasher.buffer();
        std::uint64_t moved = 0;
        if (inKernel) {
            moved = copyChunkInKernel(source, target, buffer, wanted, result);
            if (result.outcome != Outcome::complete)
                return result;
            inKernel = moved != 0; // from here on through the buffer
        }
        if (moved == 0) {
            const PosixFile::Transfer read = PosixFile::read(source, buffer, wanted);
            if (read.error)
                return {Outcome::readFailed, read.error, result.moved};
            const PosixFile::Transfer written = PosixFile::write(target, buffer, read.count);
            if (written.error)
                return {Outcome::writeFailed, written.error, result.moved + written.count};
            if (written.count < read.count)
                return {Outcome::writeShort, {}, result.moved + written.count};
            if (read.count < wanted)
                return {Outcome::sourceEnded, {}, result.moved + read.count};
            moved = read.count;
        }
        hasher.add(static_cast<std::size_t>(moved), digests);
        result.moved += moved;
        if (result.moved < count && betweenChunks && !betweenChunks(result.moved))
            return {Outcome::interrupted, {}, result.moved};
    }
    return result;
}

} // namespace platform
