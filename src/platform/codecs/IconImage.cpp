#include "platform/codecs/IconImage.h"
#include "platform/codecs/LittleEndian.h"

#include <QPixmap>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

constexpr std::size_t directorySize = 6;
constexpr std::size_t entrySize = 16;
constexpr std::size_t bitmapInfoSize = 40;
constexpr std::int64_t largestSide = 1024;
const unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t u32(std::span<const unsigned char> bytes, std::size_t at) {
    return LittleEndian::u32(bytes, at);
}

std::uint16_t u16(std::span<const unsigned char> bytes, std::size_t at) {
    return LittleEndian::u16(bytes, at);
}

// Rows of a device-independent bitmap are padded to whole 32-bit words.
std::size_t stride(std::int64_t width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
}

} // namespace

std::optional<IconImage> IconImage::parse(std::span<const unsigned char> icoBytes) {
    if (icoBytes.size() < directorySize || u16(icoBytes, 0) != 0 || u16(icoBytes, 2) != 1)
        return std::nullopt;
    const std::size_t count = u16(icoBytes, 4);
    if (count == 0 || icoBytes.size() < directorySize + count * entrySize)
        return std::nullopt;
    IconImage icon;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directorySize + i * entrySize;
        const std::uint64_t size = u32(icoBytes, entry + 8);
        const std::uint64_t offset = u32(icoBytes, entry + 12);
        if (offset + size > icoBytes.size())
            return std::nullopt;
        auto image = decode(icoBytes.subspan(offset, size));
        if (!image)
            return std::nullopt;
        icon.m_images.push_back(std::move(*image));
    }
    return icon;
}

std::optional<QImage> IconImage::decode(std::span<const unsigned char> data) {
    if (data.size() >= sizeof pngSignature &&
        std::memcmp(data.data(), pngSignature, sizeof pngSignature) == 0) {
        QImage image;
        if (!image.loadFromData(data.data(), static_cast<int>(data.size()), "PNG"))
            return std::nullopt;
        return image.convertToFormat(QImage::Format_ARGB32);
    }
    return decodeBitmap(data);
}

// The bitmap's height counts the colour rows and the mask rows together.
std::optional<QImage> IconImage::decodeBitmap(std::span<const unsigned char> data) {
    if (data.size() < bitmapInfoSize)
        return std::nullopt;
    const std::uint32_t infoSize = u32(data, 0);
    const auto width = static_cast<std::int32_t>(u32(data, 4));
    const auto doubleHeight = static_cast<std::int32_t>(u32(data, 8));
    const int bitCount = u16(data, 14);
    const std::uint32_t compression = u32(data, 16);
    std::uint32_t used = u32(data, 32);
    if (infoSize < bitmapInfoSize || infoSize > data.size() || compression != 0)
        return std::nullopt;
    if (width <= 0 || width > largestSide || doubleHeight <= 0 || doubleHeight % 2 != 0 ||
        doubleHeight / 2 > largestSide)
        return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return std::nullopt;
    const int height = doubleHeight / 2;
    const bool paletted = bitCount <= 8;
    if (!paletted)
        used = 0;
    else if (used == 0)
        used = 1u << bitCount;
    else if (used > (1u << bitCount))
        return std::nullopt;

    const std::size_t paletteAt = infoSize;
    const std::size_t colourAt = paletteAt + std::size_t{used} * 4;
    const std::size_t colourStride = stride(width, bitCount);
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t maskAt = colourAt + colourStride * rows;
    const std::size_t maskStride = stride(width, 1);
    // A 32-bit image may leave its mask out and rely on its alpha channel.
    const bool hasMask = data.size() >= maskAt + maskStride * rows;
    if (data.size() < maskAt || (!hasMask && bitCount != 32))
        return std::nullopt;

    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    for (std::uint32_t i = 0; i < used; ++i) {
        const std::size_t at = paletteAt + 4 * i;
        colours[i] = qRgb(data[at + 2], data[at + 1], data[at]);
    }
    bool anyAlpha = false;
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const auto row = data.subspan(
            colourAt + colourStride * (rows - 1 - static_cast<std::size_t>(y)), colourStride);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (paletted) {
                const int bit = x * bitCount;
                const int shift = 8 - bitCount - bit % 8;
                line[x] = colours[static_cast<std::size_t>(
                    (row[static_cast<std::size_t>(bit / 8)] >> shift) & ((1 << bitCount) - 1))];
            } else {
                const std::size_t at =
                    static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount / 8);
                const int alpha = bitCount == 32 ? row[at + 3] : 255;
                anyAlpha = anyAlpha || (bitCount == 32 && alpha != 0);
                line[x] = qRgba(row[at + 2], row[at + 1], row[at], alpha);
            }
        }
    }
    // Images without an alpha channel of their own take their transparency from the mask, and
    // are opaque without one.
    if (!anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const std::size_t maskRow =
                maskAt + maskStride * (rows - 1 - static_cast<std::size_t>(y));
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const bool transparent =
                    hasMask && (data[maskRow + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
                line[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
            }
        }
    }
    return image;
}

QImage IconImage::image(int size) const {
    const QImage* best = nullptr;
    for (const auto& candidate : m_images) {
        if (candidate.width() == size && candidate.height() == size)
            return candidate;
        const bool larger = candidate.width() >= size;
        const bool bestLarger = best != nullptr && best->width() >= size;
        if (best == nullptr || (larger && (!bestLarger || candidate.width() < best->width())) ||
            (!larger && !bestLarger && candidate.width() > best->width()))
            best = &candidate;
    }
    if (best == nullptr || size <= 0)
        return {};
    return best->scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QIcon IconImage::icon() const {
    QIcon icon;
    for (const auto& image : m_images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

bool IconImage::savePng(const QString& path, int size) const {
    const QImage picture = image(size);
    return !picture.isNull() && picture.save(path, "PNG");
}

} // namespace platform
