#pragma once

#include <cstdint>
#include <string>

namespace platform {

// How much of a file system's free space one new file can really take.
class FileSystemLimits final {
  public:
    // Bytes that one new file can hold on a file system of that type ("vfat", "ext2", ...) that
    // has freeBlocks blocks of blockSize bytes free: at most the largest file the file system can
    // hold, and less the blocks that the file system needs to map a file of that size.
    static std::uint64_t largestNewFile(const std::string& fileSystem, std::uint64_t freeBlocks,
                                        std::uint64_t blockSize);

  private:
    enum class Mapping { none, indirect, extents };
    static Mapping mappingOf(const std::string& fileSystem);
    static std::uint64_t mappingBlocks(Mapping mapping, std::uint64_t dataBlocks,
                                       std::uint64_t blockSize);
    static std::uint64_t indirectBlocks(std::uint64_t dataBlocks, std::uint64_t blockSize);
    static std::uint64_t extentBlocks(std::uint64_t dataBlocks, std::uint64_t blockSize);
    static std::uint64_t mappedDataBlocks(Mapping mapping, std::uint64_t freeBlocks,
                                          std::uint64_t blockSize);
};

} // namespace platform
