#include "IcoWriter.h"

namespace tools {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Bitmap rows are padded to whole 32-bit words.
std::size_t stride(int width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
}

} // namespace

std::vector<std::uint8_t> IcoWriter::write(const std::vector<IndexedCanvas>& pictures,
                                           const std::array<std::uint32_t, 16>& palette) {
    std::vector<std::vector<std::uint8_t>> bitmaps;
    for (const auto& picture : pictures)
        bitmaps.push_back(bitmap(picture, palette));

    std::vector<std::uint8_t> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(pictures.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(pictures[i].width()));
        out.push_back(static_cast<std::uint8_t>(pictures[i].height()));
        out.push_back(16); // colours
        out.push_back(0);
        put16(out, 1); // planes
        put16(out, 4); // bits per pixel
        put32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const auto& data : bitmaps)
        out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> IcoWriter::bitmap(const IndexedCanvas& picture,
                                            const std::array<std::uint32_t, 16>& palette) {
    const int width = picture.width();
    const int height = picture.height();
    const std::size_t colourStride = stride(width, 4);
    const std::size_t maskStride = stride(width, 1);
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(2 * height)); // colour rows and mask rows
    put16(out, 1);
    put16(out, 4);
    put32(out, 0); // uncompressed
    put32(out, static_cast<std::uint32_t>((colourStride + maskStride) * height));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0); // all 16 colours
    put32(out, 0);
    for (const std::uint32_t rgb : palette)
        put32(out, rgb); // little-endian 0x00RRGGBB is the blue, green, red, 0 of a colour entry

    // Both planes run from the bottom row up; masked pixels are colour 0 so they draw nothing.
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourStride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = picture.at(x, y) == transparent ? 0 : picture.at(x, y) & 15;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < width; ++x)
            if (picture.at(x, y) == transparent)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace tools
