#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// Builds small RIFF AVI files for the clip reader's tests. Every header field can be set to a
// wrong value on purpose.
class AviBuilder final {
  public:
    using Bytes = std::vector<unsigned char>;

    AviBuilder(std::int32_t width, std::int32_t height);

    AviBuilder& compression(std::uint32_t value);
    AviBuilder& bitCount(std::uint16_t value);
    AviBuilder& palette(std::vector<std::uint32_t> rgb);
    AviBuilder& declaredColours(std::uint32_t value); // the header's count, whatever is stored
    AviBuilder& microSecondsPerFrame(std::uint32_t value);
    AviBuilder& streamRate(std::uint32_t scale, std::uint32_t rate);
    AviBuilder& streamType(const std::string& fourcc);
    AviBuilder& secondStream();
    AviBuilder& inRecords(); // frames inside LIST 'rec ' chunks
    AviBuilder& withoutMovie();
    AviBuilder& frame(Bytes data, const std::string& fourcc = "00dc");

    Bytes build() const;

  private:
    Bytes streamList() const;

    std::int32_t m_width;
    std::int32_t m_height;
    std::uint32_t m_compression = 1;
    std::uint16_t m_bitCount = 8;
    std::vector<std::uint32_t> m_palette;
    std::int64_t m_declaredColours = -1;
    std::uint32_t m_microSecondsPerFrame = 100000;
    std::uint32_t m_scale = 1;
    std::uint32_t m_rate = 10;
    std::string m_streamType = "vids";
    bool m_secondStream = false;
    bool m_inRecords = false;
    bool m_withoutMovie = false;
    std::vector<std::pair<std::string, Bytes>> m_frames;
};

} // namespace test
