#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test {

// Segment sets laid out on disk for joins, cut with the arithmetic of the two splits.
class JoinSegmentSet final {
  public:
    using Pieces = std::vector<std::pair<std::uint64_t, std::string>>;

    // Segment lengths of a split into count segments: count - 1 equal quotients, the rest last.
    static std::vector<std::uint64_t> byNumber(std::uint64_t length, std::uint64_t count);
    // Segment lengths of a split into segments of size bytes: the last one also takes the rest.
    static std::vector<std::uint64_t> bySize(std::uint64_t length, std::uint64_t size);

    // Writes base1, base2, ... with these contents.
    static void write(const std::string& base, const std::vector<std::string>& segments);
    // Cuts the bytes into base1, base2, ... at these lengths.
    static void cut(const std::string& bytes, const std::string& base,
                    const std::vector<std::uint64_t>& lengths);
    // A sparse file of that length holding the pieces at their offsets.
    static void writeSparse(const std::string& path, std::uint64_t length, const Pieces& pieces);
    // Cuts a sparse file (length and pieces) into sparse segments base1, base2, ...
    static void cutSparse(std::uint64_t length, const Pieces& pieces, const std::string& base,
                          const std::vector<std::uint64_t>& lengths);
    // Where two files first differ, read side by side in chunks: "same" when nowhere, else the
    // offset, or why they could not be read.
    static std::string firstDifference(const std::string& one, const std::string& other);
    // The names in a directory, sorted.
    static std::vector<std::string> listing(const std::string& directory);
};

} // namespace test
