#include "platform/codecs/AviClip.h"
#include "platform/codecs/LittleEndian.h"
#include "platform/codecs/RiffChunks.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace platform {

namespace {

constexpr std::uint32_t uncompressed = 0; // BI_RGB
constexpr std::uint32_t rle8 = 1;         // BI_RLE8
constexpr std::size_t bitmapInfoSize = 40;
constexpr std::size_t mainHeaderSize = 56;
constexpr std::size_t streamHeaderSize = 48; // up to the frame rectangle, which is not needed
constexpr std::int64_t largestSide = 4096;
// All frames together, in pixels: what a clip may cost in memory (four bytes each).
constexpr std::int64_t largestClip = std::int64_t{1} << 24;

std::uint32_t u32(std::span<const unsigned char> bytes, std::size_t at) {
    return LittleEndian::u32(bytes, at);
}

std::uint16_t u16(std::span<const unsigned char> bytes, std::size_t at) {
    return LittleEndian::u16(bytes, at);
}

bool is(std::span<const unsigned char> bytes, std::size_t at, const char* code) {
    return RiffChunks::hasCode(bytes, at, code);
}

} // namespace

struct AviClip::Format {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    bool rle8 = false;
    std::uint32_t microSecondsPerFrame = 0;
    std::vector<QRgb> colours; // 256 entries: indices past the palette show black
};

std::optional<AviClip> AviClip::parse(std::span<const unsigned char> bytes) {
    if (bytes.size() < 12 || !is(bytes, 0, "RIFF") || !is(bytes, 8, "AVI "))
        return std::nullopt;
    const std::uint32_t riffSize = u32(bytes, 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8)
        return std::nullopt;

    std::optional<Format> format;
    std::span<const unsigned char> movie;
    bool haveMovie = false;
    RiffChunks top(bytes.subspan(12, riffSize - 4));
    while (top.next()) {
        if (top.isList("hdrl") && !format)
            format = readHeaders(top.listBody());
        else if (top.isList("movi") && !haveMovie) {
            movie = top.listBody();
            haveMovie = true;
        }
    }
    if (top.failed() || !format || !haveMovie)
        return std::nullopt;

    AviClip clip;
    clip.m_width = format->width;
    clip.m_height = format->height;
    clip.m_microSecondsPerFrame = format->microSecondsPerFrame;
    // Frames that leave pixels alone keep the previous frame's; the first starts from index 0.
    std::vector<std::uint8_t> pixels(
        static_cast<std::size_t>(format->width) * static_cast<std::size_t>(format->height), 0);
    if (!clip.readFrames(movie, *format, pixels, false) || clip.m_frames.empty())
        return std::nullopt;
    return clip;
}

std::optional<AviClip::Format> AviClip::readHeaders(std::span<const unsigned char> list) {
    Format format;
    std::uint32_t mainRate = 0;
    std::uint64_t streamRate = 0;
    int streams = 0;
    bool haveMain = false;
    bool haveBitmap = false;
    RiffChunks headers(list);
    while (headers.next()) {
        if (headers.is("avih")) {
            if (headers.data().size() < mainHeaderSize)
                return std::nullopt;
            mainRate = u32(headers.data(), 0);
            haveMain = true;
        }
        if (!headers.isList("strl"))
            continue;
        if (++streams > 1)
            return std::nullopt; // a clip is a single video stream, without sound
        RiffChunks stream(headers.listBody());
        bool video = false;
        while (stream.next()) {
            const auto data = stream.data();
            if (stream.is("strh")) {
                if (data.size() < streamHeaderSize)
                    return std::nullopt;
                video = is(data, 0, "vids");
                const std::uint32_t scale = u32(data, 20);
                const std::uint32_t rate = u32(data, 24);
                if (scale != 0 && rate != 0)
                    streamRate = std::uint64_t{scale} * 1000000 / rate;
            } else if (stream.is("strf")) {
                if (data.size() < bitmapInfoSize)
                    return std::nullopt;
                const std::uint32_t infoSize = u32(data, 0);
                const auto width = static_cast<std::int32_t>(u32(data, 4));
                const auto height = static_cast<std::int32_t>(u32(data, 8));
                const std::uint16_t bitCount = u16(data, 14);
                const std::uint32_t compression = u32(data, 16);
                std::uint32_t used = u32(data, 32);
                if (infoSize < bitmapInfoSize || infoSize > data.size() || bitCount != 8)
                    return std::nullopt;
                if (compression != rle8 && compression != uncompressed)
                    return std::nullopt;
                const std::int64_t rows = std::abs(std::int64_t{height});
                if (width <= 0 || width > largestSide || rows == 0 || rows > largestSide)
                    return std::nullopt;
                if (compression == rle8 && height < 0)
                    return std::nullopt; // RLE bitmaps are bottom-up only
                if (used == 0)
                    used = 256;
                if (used > 256 || data.size() - infoSize < std::size_t{used} * 4)
                    return std::nullopt;
                format.width = width;
                format.height = static_cast<int>(rows);
                format.bottomUp = height > 0;
                format.rle8 = compression == rle8;
                format.colours.assign(256, qRgb(0, 0, 0));
                for (std::uint32_t i = 0; i < used; ++i) {
                    const std::size_t at = infoSize + 4 * i;
                    format.colours[i] = qRgb(data[at + 2], data[at + 1], data[at]);
                }
                haveBitmap = true;
            }
        }
        if (stream.failed() || !video || !haveBitmap)
            return std::nullopt;
    }
    if (headers.failed() || !haveMain || streams != 1)
        return std::nullopt;
    format.microSecondsPerFrame = mainRate;
    if (format.microSecondsPerFrame == 0 && streamRate > 0 &&
        streamRate <= std::numeric_limits<std::uint32_t>::max())
        format.microSecondsPerFrame = static_cast<std::uint32_t>(streamRate);
    if (format.microSecondsPerFrame == 0)
        return std::nullopt;
    return format;
}

bool AviClip::readFrames(std::span<const unsigned char> list, const Format& format,
                         std::vector<std::uint8_t>& pixels, bool inRecord) {
    RiffChunks chunks(list);
    while (chunks.next()) {
        if (chunks.isList("rec ")) {
            // Records group chunks one level deep; a record inside a record is not a clip.
            if (inRecord || !readFrames(chunks.listBody(), format, pixels, true))
                return false;
            continue;
        }
        if (!chunks.is("00dc") && !chunks.is("00db"))
            continue; // padding and index chunks carry no picture
        const std::int64_t cost = std::int64_t{format.width} * format.height *
                                  (static_cast<std::int64_t>(m_frames.size()) + 1);
        if (cost > largestClip)
            return false;
        // An empty frame chunk repeats the previous picture.
        const auto data = chunks.data();
        if (!data.empty()) {
            const bool decoded = format.rle8 ? decodeRle8(data, format.width, format.height, pixels)
                                             : decodeUncompressed(data, format.width, format.height,
                                                                  format.bottomUp, pixels);
            if (!decoded)
                return false;
        }
        addFrame(pixels, format.colours);
        if (m_frames.back().isNull())
            return false;
    }
    return !chunks.failed();
}

// RLE8 draws rows from the bottom up. Every run, copy and move is checked against the frame
// before it touches a pixel, so no input can write outside the picture.
bool AviClip::decodeRle8(std::span<const unsigned char> data, int width, int height,
                         std::vector<std::uint8_t>& pixels) {
    const auto put = [&](int x, int row) -> std::uint8_t& {
        return pixels[static_cast<std::size_t>(height - 1 - row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    };
    int x = 0;
    int row = 0;
    std::size_t at = 0;
    while (at < data.size()) {
        if (data.size() - at < 2)
            return false;
        const int count = data[at];
        const int value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (row >= height || count > width - x)
                return false;
            for (int i = 0; i < count; ++i)
                put(x + i, row) = static_cast<std::uint8_t>(value);
            x += count;
        } else if (value == 0) { // end of line
            if (row >= height)
                return false;
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // move right and up
            if (data.size() - at < 2)
                return false;
            x += data[at];
            row += data[at + 1];
            at += 2;
            if (x > width || row > height)
                return false;
        } else { // a copy of `value` literal pixels, padded to an even length
            if (data.size() - at < static_cast<std::size_t>(value) || row >= height ||
                value > width - x)
                return false;
            for (int i = 0; i < value; ++i)
                put(x + i, row) = data[at + static_cast<std::size_t>(i)];
            x += value;
            at = std::min(data.size(), at + static_cast<std::size_t>(value + (value & 1)));
        }
    }
    return true; // data that ends without the end-of-bitmap mark leaves the rest as it was
}

bool AviClip::decodeUncompressed(std::span<const unsigned char> data, int width, int height,
                                 bool bottomUp, std::vector<std::uint8_t>& pixels) {
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    if (data.size() < stride * static_cast<std::size_t>(height))
        return false;
    for (int y = 0; y < height; ++y) {
        const std::size_t source = stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        std::copy_n(data.data() + source, width,
                    pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
    }
    return true;
}

void AviClip::addFrame(const std::vector<std::uint8_t>& pixels, const std::vector<QRgb>& colours) {
    QImage image(m_width, m_height, QImage::Format_ARGB32);
    if (!image.isNull()) {
        for (int y = 0; y < m_height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            const std::uint8_t* source =
                pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
            for (int x = 0; x < m_width; ++x)
                line[x] = colours[source[x]];
        }
    }
    m_frames.push_back(std::move(image));
}

const QImage& AviClip::frame(int index) const {
    static const QImage none;
    if (index < 0 || index >= frameCount())
        return none;
    return m_frames[static_cast<std::size_t>(index)];
}

} // namespace platform
