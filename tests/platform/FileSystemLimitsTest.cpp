#include "platform/FileSystemLimits.h"

#include <gtest/gtest.h>

namespace {

using platform::FileSystemLimits;
constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t GiB = 1024 * 1024 * KiB;

struct Row {
    const char* label;
    const char* fileSystem;
    std::uint64_t freeBlocks;
    std::uint64_t blockSize;
    std::uint64_t largestFile;
};

TEST(FileSystemLimits, OneNewFileTakesTheFreeSpaceLessWhatMapsIt) {
    // ext2 with 1 KiB blocks: 12 blocks are mapped from the inode, the next 256 through one
    // indirect block, the next 65536 through a double indirect block and 256 indirect blocks.
    const Row rows[] = {
        {"tmpfs takes everything", "tmpfs", 360, 4 * KiB, 360 * 4 * KiB},
        {"ext2, direct blocks only", "ext2", 12, KiB, 12 * KiB},
        {"ext2, a 13th block needs an indirect one", "ext2", 13, KiB, 12 * KiB},
        {"ext2, 13 blocks and their indirect block", "ext2", 14, KiB, 13 * KiB},
        {"ext2, the single indirect block full", "ext2", 12 + 256 + 1, KiB, 268 * KiB},
        {"ext2, one more block needs two more", "ext2", 12 + 256 + 1 + 2, KiB, 268 * KiB},
        {"ext2, past the single indirect block", "ext2", 12 + 256 + 1 + 3, KiB, 269 * KiB},
        {"ext3 maps like ext2", "ext3", 14, KiB, 13 * KiB},
        {"ext4, four extents live in the inode", "ext4", 4, 4 * KiB, 16 * KiB},
        {"ext4, a fifth needs a tree block", "ext4", 5, 4 * KiB, 4 * 4 * KiB},
        {"vfat under 4 GiB", "vfat", 1000, 32 * KiB, 1000 * 32 * KiB},
        {"vfat over 4 GiB stops at 4 GiB - 1", "vfat", 10 * GiB / (32 * KiB), 32 * KiB,
         4 * GiB - 1},
        {"msdos over 4 GiB stops at 4 GiB - 1", "msdos", 1 << 20, 64 * KiB, 4 * GiB - 1},
        {"exfat has no 4 GiB limit", "exfat", 1 << 20, 64 * KiB, 64 * GiB},
        {"no free blocks", "ext2", 0, KiB, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FileSystemLimits::largestNewFile(row.fileSystem, row.freeBlocks, row.blockSize),
                  row.largestFile)
            << row.label;
}

TEST(FileSystemLimits, Ext2FilesStopAtTheLargestSizeTheInodeCanMap) {
    // 1 KiB blocks: 12 + 256 + 256^2 + 256^3 data blocks, about 16 GiB.
    const std::uint64_t mappable = 12 + 256 + 65536 + 16777216ull;
    EXPECT_EQ(FileSystemLimits::largestNewFile("ext2", 100 * GiB / KiB, KiB), mappable * KiB);
}

} // namespace
