#pragma once

#include <QImage>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// An animation clip read from a RIFF AVI file: one video stream of 8-bit palette frames, RLE8
// encoded or uncompressed, decoded up front into 32-bit images. Input that is malformed in any
// way, or that would decode outside a frame, is refused as a whole.
class AviClip final {
  public:
    static std::optional<AviClip> parse(std::span<const unsigned char> bytes);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int frameCount() const { return static_cast<int>(m_frames.size()); }
    std::uint32_t microSecondsPerFrame() const { return m_microSecondsPerFrame; }
    // A null image for an index out of range.
    const QImage& frame(int index) const;

  private:
    struct Format;
    AviClip() = default;
    static std::optional<Format> readHeaders(std::span<const unsigned char> list);
    static bool decodeRle8(std::span<const unsigned char> data, int width, int height,
                           std::vector<std::uint8_t>& pixels);
    static bool decodeUncompressed(std::span<const unsigned char> data, int width, int height,
                                   bool bottomUp, std::vector<std::uint8_t>& pixels);
    bool readFrames(std::span<const unsigned char> list, const Format& format,
                    std::vector<std::uint8_t>& pixels, bool inRecord);
    void addFrame(const std::vector<std::uint8_t>& pixels, const std::vector<QRgb>& colours);

    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_microSecondsPerFrame = 0;
    std::vector<QImage> m_frames;
};

} // namespace platform
