#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

namespace test {

// Builds .ico files for the icon reader's tests, one image at a time.
class IcoBuilder final {
  public:
    using Bytes = std::vector<unsigned char>;
    // A palette index for 1, 4 and 8 bits, else 0xAARRGGBB.
    using Pixel = std::function<std::uint32_t(int x, int y)>;
    using Masked = std::function<bool(int x, int y)>;

    IcoBuilder& bitmap(int width, int height, int bitCount,
                       const std::vector<std::uint32_t>& palette, const Pixel& pixel,
                       const Masked& masked, bool withMask = true);
    IcoBuilder& png(const QImage& image);
    IcoBuilder& raw(Bytes data); // stored as it is

    Bytes build() const;

  private:
    std::vector<Bytes> m_images;
};

} // namespace test
