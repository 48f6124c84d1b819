#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// Reads the little-endian numbers of the desktop's binary formats (AVI, ICO, BMP). The caller
// has checked that the bytes are there.
class LittleEndian final {
  public:
    static std::uint32_t u32(std::span<const unsigned char> bytes, std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at]) |
               static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    }
    static std::uint16_t u16(std::span<const unsigned char> bytes, std::size_t at) {
        return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    }
};

} // namespace platform
