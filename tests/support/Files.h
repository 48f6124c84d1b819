#pragma once

#include <cstdint>
#include <string>

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
};

} // namespace test
