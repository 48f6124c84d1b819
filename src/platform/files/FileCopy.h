#pragma once

#include "platform/files/FileError.h"

#include <cstdint>
#include <functional>

namespace platform {

class ChunkHasher;

// Moves bytes from one open file to another in bounded chunks, so memory stays the same whatever
// the count.
class FileCopy final {
  public:
    enum class Outcome {
        complete,    // every byte moved
        readFailed,  // the source failed; error says why
        writeFailed, // the target failed; error says why
        writeShort,  // the target took fewer bytes than it was given, without an error
        sourceEnded, // the source ended first; every byte it had was moved
        interrupted, // betweenChunks asked to stop; moved says how far the copy came
    };
    struct Result {
        Outcome outcome;
        FileError error;     // for readFailed and writeFailed, none otherwise
        std::uint64_t moved; // bytes that reached the target
    };
    static constexpr std::uint64_t chunkSize = 1u << 20;

    // Called after each chunk while bytes remain, with the bytes this copy has moved so far:
    // whether to go on.
    using BetweenChunks = std::function<bool(std::uint64_t moved)>;

    // Moves count bytes from the source's position to the target's position, advancing both,
    // and calls betweenChunks (when given) after each chunk while bytes remain.
    static Result copy(int source, int target, std::uint64_t count,
                       const BetweenChunks& betweenChunks);

    // The same, and every byte moved is added to the hasher's digests given by their bits. With
    // inKernel the bytes move as copy() moves them (a reflink where the file system makes one)
    // and the digests read them back from the source; otherwise they are read into the hasher's
    // buffer, written from it and hashed from it, so the digests see exactly the bytes written.
    static Result copyHashing(int source, int target, std::uint64_t count,
                              const BetweenChunks& betweenChunks, ChunkHasher& hasher,
                              unsigned digests, bool inKernel);

  private:
    struct InKernel {
        std::uint64_t moved;
        bool interrupted;
    };
    static InKernel copyInKernel(int source, int target, std::uint64_t count,
                                 const BetweenChunks& betweenChunks);
    static Result copyThroughBuffer(int source, int target, std::uint64_t count,
                                    std::uint64_t moved, const BetweenChunks& betweenChunks);
};

} // namespace platform
