#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test {

// What a split leaves on disk, read back for checking.
class SplitFiles final {
  public:
    // The lengths of base1, base2, ... up to the first number that does not exist.
    static std::vector<std::uint64_t> segmentLengths(const std::string& base);
    // The names in a directory, sorted.
    static std::vector<std::string> listing(const std::string& directory);
    // A sparse file of that length with the given bytes at the given offsets.
    static void makeSparse(const std::string& path, std::uint64_t length,
                           const std::vector<std::pair<std::uint64_t, std::string>>& pieces);
    // MD5 of the files read one after another, streamed; empty when one cannot be read.
    // With removeAfterReading each file is deleted once it has been read, so a large set never
    // lies on disk next to a copy of itself for longer than it takes to read it.
    static std::string checksum(const std::vector<std::string>& paths,
                                bool removeAfterReading = false);
};

} // namespace test
