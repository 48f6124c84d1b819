#include "IcoBuilder.h"

#include <QBuffer>

namespace test {

namespace {

using Bytes = IcoBuilder::Bytes;

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::size_t stride(int width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
}

} // namespace

IcoBuilder& IcoBuilder::bitmap(int width, int height, int bitCount,
                               const std::vector<std::uint32_t>& palette, const Pixel& pixel,
                               const Masked& masked, bool withMask) {
    Bytes out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(2 * height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitCount));
    for (int i = 0; i < 4; ++i)
        put32(out, 0); // compression, image size, resolution
    put32(out, static_cast<std::uint32_t>(palette.size()));
    put32(out, 0);
    for (const std::uint32_t rgb : palette)
        put32(out, rgb);
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(stride(width, bitCount), 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t value = pixel(x, y);
            if (bitCount <= 8) {
                const int bit = x * bitCount;
                row[bit / 8] |= static_cast<unsigned char>(value << (8 - bitCount - bit % 8));
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (bitCount / 8);
                for (int i = 0; i < bitCount / 8; ++i)
                    row[at + i] = static_cast<unsigned char>(value >> (8 * i));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = height - 1; withMask && y >= 0; --y) {
        Bytes row(stride(width, 1), 0);
        for (int x = 0; x < width; ++x)
            if (masked(x, y))
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    m_images.push_back(std::move(out));
    return *this;
}

IcoBuilder& IcoBuilder::png(const QImage& image) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    m_images.emplace_back(encoded.begin(), encoded.end());
    return *this;
}

IcoBuilder& IcoBuilder::raw(Bytes data) {
    m_images.push_back(std::move(data));
    return *this;
}

Bytes IcoBuilder::build() const {
    Bytes out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(m_images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * m_images.size());
    for (const auto& image : m_images) {
        for (int i = 0; i < 4; ++i)
            out.push_back(
                0); // the directory's sizes and colour count; the reader takes the bitmap's
        put16(out, 1);
        put16(out, 0);
        put32(out, static_cast<std::uint32_t>(image.size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const auto& image : m_images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace test
