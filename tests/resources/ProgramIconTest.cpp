#include "platform/IconImage.h"
#include "resources/BinaryResources.h"
#include "resources/VersionInfo.h"

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

TEST(ProgramIcon, DamagedCopiesAreRefused) {
    const Bytes whole = programIcon();
    const std::size_t bitmap = whole[18] | whole[19] << 8; // the first image's offset
    const struct {
        const char* name;
        std::size_t length, at; // cut to length, then the byte at `at` set
        unsigned char value;
    } rows[] = {
        {"cut in the directory", 10, 0, 0},
        {"cut before the last byte", whole.size() - 1, 0, 0},
        {"more images than entries", whole.size(), 4, 9},
        {"image offset past the end", whole.size(), 6 + 13, 0x40},
        {"three bits per pixel", whole.size(), bitmap + 14, 3},
        {"taller than the data", whole.size(), bitmap + 9, 0x01},
    };
    for (const auto& row : rows) {
        Bytes damaged(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(row.length));
        damaged[row.at] = row.value; // byte 0, which cuts set, is 0 already
        EXPECT_FALSE(IconImage::parse(damaged)) << row.name;
    }
}

TEST(VersionInfo, IsVersionOnePointTwoOfSundrelInUsEnglishUnicode) {
    const auto& block = resources::VersionInfo::program();
    EXPECT_EQ(block.fileVersion, (std::array<unsigned, 4>{1, 2, 0, 1}));
    EXPECT_EQ(block.stringTableKey, "040904b0");
    for (const auto& [key, value] : {std::pair{"FileVersion", "1, 2, 0, 1"},
                                     {"OriginalFilename", "Sundrel.EXE"},
                                     {"InternalName", "Sundrel"},
                                     {"ProductName", "Sundrel Application"}})
        EXPECT_EQ(block.value(key), value) << key;
    EXPECT_EQ(block.value("FileDescription").value_or("").rfind("Sundrel Application", 0), 0u);
}

} // namespace
