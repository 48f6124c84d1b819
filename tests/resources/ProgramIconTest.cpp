#include "platform/codecs/IconImage.h"
#include "resources/BinaryResources.h"
#include "support/RowName.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

namespace {

using platform::IconImage;
using Bytes = std::vector<unsigned char>;

Bytes programIcon() {
    const auto bytes =
        resources::BinaryResources::icon(resources::BinaryResources::applicationIcon);
    return {bytes.begin(), bytes.end()};
}

// Qt's own ico reader, where its plugin is installed, is the reference for every pixel.
TEST(ProgramIcon, Holds32And16PixelImagesIn16ColoursWithTransparentCorners) {
    const Bytes bytes = programIcon();
    const auto icon = IconImage::parse(bytes);
    ASSERT_TRUE(icon.has_value());
    ASSERT_EQ(icon->images().size(), 2u);
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
    QImageReader qtReader(&buffer, "ico");
    for (int i = 0; i < 2; ++i) {
        const QImage& image = icon->images()[i];
        const int size = 32 >> i;
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(bytes[6 + 16 * i + 2], 16) << "colours of the " << size << " px image";
        EXPECT_EQ(image.pixel(0, 0), 0u) << "transparent corner";
        if (qtReader.jumpToImage(i)) {
            EXPECT_EQ(qtReader.read().convertToFormat(QImage::Format_ARGB32), image) << size;
        }
    }
}

struct Damage {
    const char* name;
    long keep;      // bytes kept; 0: all of them; negative: that many fewer than all
    bool inBitmap;  // `at` counts from the first image's bitmap, else from the start
    std::size_t at; // the byte then set (byte 0, which cuts set, is 0 already)
    unsigned char value;
};

class DamagedIcon : public testing::TestWithParam<Damage> {};

TEST_P(DamagedIcon, IsRefused) {
    const Damage& row = GetParam();
    Bytes damaged = programIcon();
    const std::size_t bitmap = damaged[18] | damaged[19] << 8;
    damaged[row.at + (row.inBitmap ? bitmap : 0)] = row.value;
    if (row.keep != 0)
        damaged.resize(row.keep > 0 ? row.keep : damaged.size() + row.keep);
    EXPECT_FALSE(IconImage::parse(damaged));
}

INSTANTIATE_TEST_SUITE_P(Rows, DamagedIcon,
                         testing::Values(Damage{"CutInTheDirectory", 10, false, 0, 0},
                                         Damage{"CutBeforeTheLastByte", -1, false, 0, 0},
                                         Damage{"MoreImagesThanEntries", 0, false, 4, 9},
                                         Damage{"ImageOffsetPastTheEnd", 0, false, 6 + 13, 0x40},
                                         Damage{"ThreeBitsPerPixel", 0, true, 14, 3},
                                         Damage{"TallerThanTheData", 0, true, 9, 0x01}),
                         test::rowName);

} // namespace
