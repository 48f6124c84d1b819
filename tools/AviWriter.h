#pragma once

#include "IndexedCanvas.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tools {

// Writes a RIFF AVI file with one RLE8 video stream and an index: the first frame is encoded
// whole, every later frame as its changes from the one before.
class AviWriter final {
  public:
    static std::vector<std::uint8_t> write(const std::vector<IndexedCanvas>& frames,
                                           const std::array<std::uint32_t, 16>& palette,
                                           std::uint32_t microSecondsPerFrame);

  private:
    void fourcc(const char* code);
    void u16(std::uint32_t value);
    void u32(std::uint32_t value);
    std::size_t beginChunk(const char* code); // returns where the size goes
    void endChunk(std::size_t sizeAt);
    void patch32(std::size_t at, std::uint32_t value);

    std::vector<std::uint8_t> m_out;
};

} // namespace tools
