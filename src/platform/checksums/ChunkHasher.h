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
// whatever the count.
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
    // Ends the digest's current value, which results() gives in the order of the ends; the bytes
    // added later start a new one.
    void end(int digest);
    // Waits until the digest has hashed everything given so far; its ended values in order.
    const std::vector<std::string>& results(int digest);

  private:
    struct Item {
        int slot; // -1: the end of a value
        std::size_t count;
    };
    struct Lane {
        std::deque<Item> queue; // its front is being hashed
        std::vector<std::string> results;
        std::thread thread;
    };
    void serve(Lane& lane);

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
