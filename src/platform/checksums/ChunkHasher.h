#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// SHA-256 digests of the chunks a copy moves, each digest worked out on a thread of its own while
// the copy moves the next chunks: hashing costs no time of the copy's own until it is the slower
// of the two. The chunks pass through a few buffers of the hasher's, so memory stays the same
// whatever the count. A digest can also read a range of a file itself, beside the copy of it.
class ChunkHasher final {
  public:
    static constexpr std::size_t chunkSize = 1u << 20;

    explicit ChunkHasher(int digests);
    ~ChunkHasher();
    ChunkHasher(const ChunkHasher&) = delete;
    ChunkHasher& operator=(const ChunkHasher&) = delete;

    // A buffer of chunkSize bytes that no digest reads any more, waiting until one is free.
    char* buffer();
    // Adds the first count bytes of the buffer last handed out to each digest whose bit is set
    // in digests (bit 0 for digest 0, ...). The buffer is not to be touched again.
    void add(std::size_t count, unsigned digests);
    // Adds count bytes of the open file from offset to the digest, read by the digest's own thread
    // while the caller goes on; the file stays open, and locked, until then. A read that fails
    // or ends early leaves the digest's value empty, as no bytes have.
    void addFile(int descriptor, std::uint64_t offset, std::uint64_t count, int digest);
    // Ends the digest's current value, which results() gives in the order of the ends; the bytes
    // added later start a new one.
    void end(int digest);
    // Waits until the digest has hashed everything given so far; its ended values in order.
    const std::vector<std::string>& results(int digest);

  private:
    struct Item {
        int slot; // -1: the end of a value; fromFile: a range of the file
        std::uint64_t count;
        int descriptor = -1;
        std::uint64_t offset = 0;
    };
    static constexpr int fromFile = -2;
    struct Lane {
        std::deque<Item> queue; // its front is being hashed
        std::vector<std::string> results;
        std::thread thread;
    };
    void serve(Lane& lane);
    // Adds the range to the digest; false when it could not be read whole.
    static bool hashFile(const Item& item, class Sha256& digest, char* buffer);

    static constexpr int slotCount = 4;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::unique_ptr<char[]> m_slots[slotCount];
    int m_readers[slotCount] = {}; // the digests that still read each buffer
    int m_current = -1;
    bool m_stopping = false;
    std::vector<std::unique_ptr<Lane>> m_lanes;
};

} // namespace platform
