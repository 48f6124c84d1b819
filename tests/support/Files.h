#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test {

// Small helpers for making and checking files on disk in tests.
class Files final {
public:
    static void write(const std::string& path, const std::string& bytes);
    static std::string read(const std::string& path);
    static bool exists(const std::string& path);
    static std::uint64_t size(const std::string& path);
    // Bytes that differ from one offset to the next, reproducible from the seed.
    static std::string pattern(std::size_t length, unsigned seed = 1);
    // A sparse file of that length with the given bytes at the given offsets.
    static void makeSparse(const std::string& path, std::uint64_t length,
                           const std::vector<std::pair<std::uint64_t, std::string>>& pieces);
    // MD5 of the files read one after another, streamed; empty when one cannot be read. With
    // removeAfterReading each file is deleted once read, so a large set never lies on disk next
    // to a copy of itself for longer than it takes to read it.
    static std::string checksum(const std::vector<std::string>& paths, bool removeAfterReading = false);
    // The lengths of base1, base2, ... up to the first number that does not exist.
    static std::vector<std::uint64_t> segmentLengths(const std::string& base);
    // The names in a directory, sorted.
    static std::vector<std::string> listing(const std::string& directory);
};

} // namespace test
