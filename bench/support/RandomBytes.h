#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace bench {

// Files of random bytes that compress and deduplicate as little as real data would. One object
// is one stream from a fixed seed, so a run writes the same bytes every time.
class RandomBytes final {
  public:
    // The next `length` bytes of the stream, as the file `path` (made afresh).
    void write(const std::string& path, std::uint64_t length);

  private:
    std::mt19937_64 m_random{20240601};
};

} // namespace bench
