#pragma once

#include "common/CFile.h"

#include "platform/files/FileCopy.h"

#include <chrono>
#include <cstdint>

namespace platform {
class ChunkHasher;
}

// Moves one segment's bytes between open files without holding the segment in memory.
class CSegmentTransfer final {
  public:
    // Moves count bytes from the source's position to the segment's position. Windows repaint and
    // timers run between chunks, and throughout when the segment is on a removable medium; user
    // input is dropped, but a request to stop asks the running work's question (CStoppableWork),
    // and raises COperationStopped when the user confirms it. The running bar (CByteProgress)
    // follows the bytes as windows repaint. Raises CFileException: a failing read
    // with no file name, a failing or short write with the segment's full path, and a source that
    // ends before count bytes (cause endOfFile) with the source's full path. Only bytes that were
    // read are written.
    static void Move(CFile& source, CFile& segment, std::uint64_t count);
    // Where the moved bytes are hashed as well: the hasher's digests given by their bits, and
    // whether the bytes may move in the kernel (see FileCopy::copyHashing).
    struct Hashing {
        platform::ChunkHasher& hasher;
        unsigned digests;
        bool inKernel;
    };
    // The same, hashing every byte moved.
    static void Move(CFile& source, CFile& segment, std::uint64_t count, const Hashing& hashing);
    // Adds count bytes of the open file from its start to one of the hasher's digests, read by
    // the digest's own thread beside the transfer.
    static void Hash(platform::ChunkHasher& hasher, const CFile& file, std::uint64_t count,
                     int digest);
    // Lets windows repaint and timers run, at most about sixty times a second and not before an
    // operation has worked for as long: a join of one-chunk segments that ends within one frame
    // pays for no repaint. Called after each segment: a segment of one chunk has no boundary
    // inside it, and a long run of small segments would otherwise freeze the window. (Longer
    // segments also repaint at their first chunk boundary, so the bar shows every step.)
    static void RepaintNowAndThen();
    // Called as an operation begins its first segment.
    static void StartRepaintClock();

  private:
    static void Move(CFile& source, CFile& segment, std::uint64_t count, const Hashing* hashing);
    static platform::FileCopy::Result CopyOnce(CFile& source, CFile& segment, std::uint64_t count,
                                               const Hashing* hashing);
    static platform::FileCopy::Result Copy(CFile& source, CFile& segment, std::uint64_t count,
                                           const Hashing* hashing,
                                           const platform::FileCopy::BetweenChunks& betweenChunks);
    // Shows the bytes moved, inSegment of them not yet counted, as windows repaint.
    static void PumpIfDue(std::chrono::steady_clock::time_point& lastPump, std::uint64_t inSegment);
};
