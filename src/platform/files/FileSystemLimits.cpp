#include "platform/files/FileSystemLimits.h"

#include <algorithm>
#include <limits>

namespace platform {

namespace {

constexpr std::uint64_t fatLargestFile = 0xFFFFFFFFull; // 4 GiB - 1: FAT keeps sizes in 32 bits
constexpr std::uint64_t directBlocks = 12;              // ext2 block pointers in the inode itself
constexpr std::uint64_t inodeExtents = 4;               // ext4 extents in the inode itself
constexpr std::uint64_t sectorsLimit = 0xFFFFFFFFull;   // ext2/ext3 count a file's blocks in
                                                        // 32 bits of 512-byte sectors

std::uint64_t ceilDiv(std::uint64_t value, std::uint64_t divisor) {
    return value / divisor + (value % divisor != 0 ? 1 : 0);
}

std::uint64_t bytes(std::uint64_t blocks, std::uint64_t blockSize) {
    if (blockSize != 0 && blocks > std::numeric_limits<std::uint64_t>::max() / blockSize)
        return std::numeric_limits<std::uint64_t>::max();
    return blocks * blockSize;
}

} // namespace

std::uint64_t FileSystemLimits::largestNewFile(const std::string& fileSystem,
                                               std::uint64_t freeBlocks, std::uint64_t blockSize) {
    if (blockSize == 0)
        return 0;
    if (fileSystem == "vfat" || fileSystem == "msdos" || fileSystem == "fat")
        return std::min(bytes(freeBlocks, blockSize), fatLargestFile);
    const Mapping mapping = mappingOf(fileSystem);
    if (mapping == Mapping::none || blockSize < 512)
        return bytes(freeBlocks, blockSize);
    return bytes(mappedDataBlocks(mapping, freeBlocks, blockSize), blockSize);
}

FileSystemLimits::Mapping FileSystemLimits::mappingOf(const std::string& fileSystem) {
    if (fileSystem == "ext2" || fileSystem == "ext3")
        return Mapping::indirect;
    // ext4 maps a file with extents; counted as if every block were an extent of its own, which
    // is never less than a file really needs (also when the file system keeps indirect blocks).
    if (fileSystem == "ext4")
        return Mapping::extents;
    return Mapping::none;
}

// The largest number of data blocks that fit, together with the blocks that map them, into
// freeBlocks. Data plus mapping grows with the data, so a binary search finds it.
std::uint64_t FileSystemLimits::mappedDataBlocks(Mapping mapping, std::uint64_t freeBlocks,
                                                 std::uint64_t blockSize) {
    const std::uint64_t sectorsPerBlock = blockSize / 512;
    const auto fits = [&](std::uint64_t data) {
        const std::uint64_t mapped = mappingBlocks(mapping, data, blockSize);
        if (mapped == std::numeric_limits<std::uint64_t>::max() || data + mapped > freeBlocks)
            return false;
        return mapping != Mapping::indirect || data + mapped <= sectorsLimit / sectorsPerBlock;
    };
    std::uint64_t low = 0; // always fits
    std::uint64_t high = freeBlocks;
    while (low < high) {
        const std::uint64_t middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

std::uint64_t FileSystemLimits::mappingBlocks(Mapping mapping, std::uint64_t dataBlocks,
                                              std::uint64_t blockSize) {
    return mapping == Mapping::indirect ? indirectBlocks(dataBlocks, blockSize)
                                        : extentBlocks(dataBlocks, blockSize);
}

// ext2/ext3: 12 direct pointers, then a single, a double and a triple indirect tree of blocks that
// each hold blockSize / 4 pointers. Returns the largest count when the file cannot be mapped.
std::uint64_t FileSystemLimits::indirectBlocks(std::uint64_t dataBlocks, std::uint64_t blockSize) {
    const std::uint64_t perBlock = blockSize / 4;
    if (dataBlocks <= directBlocks)
        return 0;
    std::uint64_t rest = dataBlocks - directBlocks;
    std::uint64_t blocks = 1; // single indirect
    if (rest <= perBlock)
        return blocks;
    rest -= perBlock;
    const std::uint64_t doubleSpan = perBlock * perBlock;
    blocks += 1 + ceilDiv(std::min(rest, doubleSpan), perBlock);
    if (rest <= doubleSpan)
        return blocks;
    rest -= doubleSpan;
    if (rest > doubleSpan * perBlock)
        return std::numeric_limits<std::uint64_t>::max();
    return blocks + 1 + ceilDiv(rest, doubleSpan) + ceilDiv(rest, perBlock);
}

// ext4: the inode holds four extents; beyond that, tree blocks of (blockSize - 12) / 12 entries.
std::uint64_t FileSystemLimits::extentBlocks(std::uint64_t dataBlocks, std::uint64_t blockSize) {
    const std::uint64_t perBlock = (blockSize - 12) / 12;
    std::uint64_t blocks = 0;
    for (std::uint64_t level = dataBlocks; level > inodeExtents;) {
        level = ceilDiv(level, perBlock);
        blocks += level;
    }
    return blocks;
}

} // namespace platform
