#include "operations/JoinSegmentSet.h"

#include "common/CSegmentName.h"
#include "support/Files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace test {

std::vector<std::uint64_t> JoinSegmentSet::byNumber(std::uint64_t length, std::uint64_t count) {
    std::vector<std::uint64_t> lengths(count, length / count);
    lengths.back() = length - (count - 1) * (length / count);
    return lengths;
}

std::vector<std::uint64_t> JoinSegmentSet::bySize(std::uint64_t length, std::uint64_t size) {
    if (size == 0 || length < size)
        throw std::logic_error("a split by size needs a file at least one segment long");
    std::vector<std::uint64_t> lengths(length / size, size);
    lengths.back() += length % size;
    return lengths;
}

void JoinSegmentSet::write(const std::string& base, const std::vector<std::string>& segments) {
    for (std::size_t k = 0; k < segments.size(); ++k)
        Files::write(CSegmentName::Make(base, static_cast<long long>(k + 1)), segments[k]);
}

void JoinSegmentSet::cut(const std::string& bytes, const std::string& base,
                         const std::vector<std::uint64_t>& lengths) {
    std::vector<std::string> segments;
    std::uint64_t offset = 0;
    for (std::uint64_t length : lengths) {
        segments.push_back(bytes.substr(offset, length));
        offset += length;
    }
    if (offset != bytes.size())
        throw std::logic_error("the lengths do not cover the bytes");
    write(base, segments);
}

void JoinSegmentSet::writeSparse(const std::string& path, std::uint64_t length,
                                 const Pieces& pieces) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0)
        throw std::runtime_error("cannot create " + path);
    bool written = ftruncate(descriptor, static_cast<off_t>(length)) == 0;
    for (const auto& [offset, bytes] : pieces)
        written =
            written && pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
                           static_cast<ssize_t>(bytes.size());
    close(descriptor);
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

void JoinSegmentSet::cutSparse(std::uint64_t length, const Pieces& pieces, const std::string& base,
                               const std::vector<std::uint64_t>& lengths) {
    std::uint64_t start = 0;
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        const std::uint64_t end = start + lengths[k];
        Pieces inside;
        for (const auto& [offset, bytes] : pieces) {
            const std::uint64_t from = std::max(offset, start);
            const std::uint64_t to = std::min<std::uint64_t>(offset + bytes.size(), end);
            if (from < to)
                inside.emplace_back(from - start, bytes.substr(from - offset, to - from));
        }
        writeSparse(CSegmentName::Make(base, static_cast<long long>(k + 1)), lengths[k], inside);
        start = end;
    }
    if (start != length)
        throw std::logic_error("the lengths do not cover the file");
}

std::string JoinSegmentSet::firstDifference(const std::string& one, const std::string& other) {
    std::ifstream first(one, std::ios::binary);
    std::ifstream second(other, std::ios::binary);
    if (!first || !second)
        return "cannot read both files";
    constexpr std::size_t chunk = 1 << 20;
    std::vector<char> a(chunk);
    std::vector<char> b(chunk);
    std::uint64_t offset = 0;
    while (true) {
        first.read(a.data(), chunk);
        second.read(b.data(), chunk);
        const auto gotA = static_cast<std::size_t>(first.gcount());
        const auto gotB = static_cast<std::size_t>(second.gcount());
        const auto common = std::min(gotA, gotB);
        if (std::memcmp(a.data(), b.data(), common) != 0) {
            const auto differ = std::mismatch(a.begin(), a.begin() + common, b.begin()).first;
            return "they differ at offset " + std::to_string(offset + (differ - a.begin()));
        }
        if (gotA != gotB)
            return "one ends at offset " + std::to_string(offset + common);
        if (gotA == 0)
            return "same";
        offset += gotA;
    }
}

std::vector<std::string> JoinSegmentSet::listing(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace test
