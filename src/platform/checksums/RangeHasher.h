#pragma once

#include "platform/files/FileError.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// SHA-256 digests of byte ranges of open files, worked out on threads of their own while the
// caller goes on copying: hashing costs the copy no time until it is the slower of the two, and
// digests of different ranges (the segments of a set, the whole file) are worked out side by side.
// Each range is read afresh, in bounded chunks, from the file: bytes that a copy has just moved
// come from memory.
class RangeHasher final {
  public:
    explicit RangeHasher(int threads = 2);
    ~RangeHasher();
    RangeHasher(const RangeHasher&) = delete;
    RangeHasher& operator=(const RangeHasher&) = delete;

    // Starts the digest of count bytes of the open file from offset, and answers its number
    // (0, 1, ... in the order digests are started). The file stays open, and locked, until it
    // has been read.
    int hash(int descriptor, std::uint64_t offset, std::uint64_t count);

    struct Digest {
        std::string hex;    // 64 lowercase hex digits
        FileError error;    // a read that failed; the digest is then not worked out
        bool ended = false; // the range ended early: the file holds fewer bytes
    };
    // Waits until every digest started has been worked out; they are in the order started.
    const std::vector<Digest>& results();

  private:
    struct Range {
        int descriptor;
        std::uint64_t offset, count;
        std::size_t digest;
    };
    void serve();
    Digest digestOf(const Range& range, char* buffer) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Range> m_waiting;
    std::size_t m_working = 0;
    std::vector<Digest> m_results;
    std::atomic<bool> m_stopping = false; // read between chunks: a hasher let go stops at once
    std::vector<std::thread> m_threads;
};

} // namespace platform
