#include "AviWriter.h"

#include "Rle8Encoder.h"

#include <algorithm>

namespace tools {

namespace {

constexpr std::uint32_t hasIndex = 0x10; // AVIF_HASINDEX
constexpr std::uint32_t keyFrame = 0x10; // AVIIF_KEYFRAME
constexpr std::uint32_t rle8 = 1;        // BI_RLE8
constexpr std::uint32_t bitmapInfoSize = 40;

struct IndexEntry {
    std::uint32_t flags;
    std::uint32_t offset;
    std::uint32_t size;
};

} // namespace

std::vector<std::uint8_t> AviWriter::write(const std::vector<IndexedCanvas>& frames,
                                           const std::array<std::uint32_t, 16>& palette,
                                           std::uint32_t microSecondsPerFrame) {
    std::vector<std::vector<std::uint8_t>> encoded;
    for (std::size_t i = 0; i < frames.size(); ++i)
        encoded.push_back(Rle8Encoder::encode(frames[i], i == 0 ? nullptr : &frames[i - 1]));
    std::uint32_t largest = 0;
    for (const auto& data : encoded)
        largest = std::max(largest, static_cast<std::uint32_t>(data.size()));
    const auto width = static_cast<std::uint32_t>(frames.front().width());
    const auto height = static_cast<std::uint32_t>(frames.front().height());
    const auto count = static_cast<std::uint32_t>(frames.size());
    const std::uint32_t microSecondsPerSecond = 1000000;

    AviWriter avi;
    const auto riff = avi.beginChunk("RIFF");
    avi.fourcc("AVI ");

    const auto headerList = avi.beginChunk("LIST");
    avi.fourcc("hdrl");
    const auto mainHeader = avi.beginChunk("avih");
    avi.u32(microSecondsPerFrame);
    const std::uint32_t framesPerSecond =
        (microSecondsPerSecond + microSecondsPerFrame - 1) / microSecondsPerFrame;
    avi.u32(largest * framesPerSecond); // max bytes per second
    avi.u32(0);                         // padding granularity
    avi.u32(hasIndex);
    avi.u32(count);
    avi.u32(0); // initial frames
    avi.u32(1); // streams
    avi.u32(largest);
    avi.u32(width);
    avi.u32(height);
    for (int i = 0; i < 4; ++i)
        avi.u32(0);
    avi.endChunk(mainHeader);

    const auto streamList = avi.beginChunk("LIST");
    avi.fourcc("strl");
    const auto streamHeader = avi.beginChunk("strh");
    avi.fourcc("vids");
    avi.fourcc("mrle");
    avi.u32(0);                    // flags
    avi.u16(0);                    // priority
    avi.u16(0);                    // language
    avi.u32(0);                    // initial frames
    avi.u32(microSecondsPerFrame); // scale / rate = seconds per frame
    avi.u32(microSecondsPerSecond);
    avi.u32(0); // start
    avi.u32(count);
    avi.u32(largest);
    avi.u32(0xFFFFFFFF); // quality: default
    avi.u32(0);          // sample size: varies
    avi.u16(0);
    avi.u16(0);
    avi.u16(width);
    avi.u16(height);
    avi.endChunk(streamHeader);

    const auto streamFormat = avi.beginChunk("strf");
    avi.u32(bitmapInfoSize);
    avi.u32(width);
    avi.u32(height); // positive: rows bottom-up
    avi.u16(1);      // planes
    avi.u16(8);      // bits per pixel
    avi.u32(rle8);
    avi.u32(largest);
    avi.u32(0);
    avi.u32(0);
    avi.u32(static_cast<std::uint32_t>(palette.size()));
    avi.u32(static_cast<std::uint32_t>(palette.size()));
    for (const std::uint32_t rgb : palette)
        avi.u32(rgb); // little-endian 0x00RRGGBB is the blue, green, red, 0 of a colour entry
    avi.endChunk(streamFormat);
    avi.endChunk(streamList);
    avi.endChunk(headerList);

    const auto movie = avi.beginChunk("LIST");
    const std::size_t movieStart = avi.m_out.size();
    avi.fourcc("movi");
    std::vector<IndexEntry> index;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const auto offset = static_cast<std::uint32_t>(avi.m_out.size() - movieStart);
        const auto frameChunk = avi.beginChunk("00dc");
        avi.m_out.insert(avi.m_out.end(), encoded[i].begin(), encoded[i].end());
        avi.endChunk(frameChunk);
        index.push_back(
            {i == 0 ? keyFrame : 0, offset, static_cast<std::uint32_t>(encoded[i].size())});
    }
    avi.endChunk(movie);

    const auto indexChunk = avi.beginChunk("idx1");
    for (const auto& entry : index) {
        avi.fourcc("00dc");
        avi.u32(entry.flags);
        avi.u32(entry.offset);
        avi.u32(entry.size);
    }
    avi.endChunk(indexChunk);
    avi.endChunk(riff);
    return std::move(avi.m_out);
}

void AviWriter::fourcc(const char* code) {
    m_out.insert(m_out.end(), code, code + 4);
}

void AviWriter::u16(std::uint32_t value) {
    m_out.push_back(static_cast<std::uint8_t>(value));
    m_out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AviWriter::u32(std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
}

std::size_t AviWriter::beginChunk(const char* code) {
    fourcc(code);
    const std::size_t sizeAt = m_out.size();
    u32(0);
    return sizeAt;
}

void AviWriter::endChunk(std::size_t sizeAt) {
    patch32(sizeAt, static_cast<std::uint32_t>(m_out.size() - sizeAt - 4));
    if (m_out.size() % 2 != 0)
        m_out.push_back(0); // chunks start on even offsets
}

void AviWriter::patch32(std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace tools
