#include "IcoBuilder.h"

#include "platform/IconImage.h"
#include "resources/BinaryResources.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

#include <set>

namespace {

using platform::IconImage;
using test::IcoBuilder;
using Bytes = IcoBuilder::Bytes;

constexpr QRgb clear = 0x00000000;

Bytes programIcon() {
    const auto bytes =
        resources::BinaryResources::icon(resources::BinaryResources::applicationIcon);
    return {bytes.begin(), bytes.end()};
}

const std::set<QRgb>& standardColours() {
    static const std::set<QRgb> colours = {
        0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
        0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
        0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
    };
    return colours;
}

// --- The program's icon ----------------------------------------------------------------------

TEST(ProgramIcon, Holds32And16PixelImagesIn16ColoursWithTransparentCorners) {
    const auto icon = IconImage::parse(programIcon());
    ASSERT_TRUE(icon.has_value());
    ASSERT_EQ(icon->images().size(), 2u);
    for (const int size : {32, 16}) {
        const QImage image = icon->image(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        const int last = size - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            EXPECT_EQ(image.pixel(corner), clear)
                << size << " px at " << corner.x() << "," << corner.y();
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                ++opaque;
                EXPECT_EQ(qAlpha(pixel), 255);
                EXPECT_TRUE(standardColours().count(pixel)) << std::hex << pixel;
            }
        EXPECT_GT(opaque, size * size / 3) << "the drawing covers too little of " << size << " px";
    }
}

TEST(ProgramIcon, ReadsTheSameAsQtsOwnIcoReader) {
    if (!QImageReader::supportedImageFormats().contains("ico"))
        GTEST_SKIP() << "Qt's ico image plugin is not installed";
    const Bytes bytes = programIcon();
    const auto ours = IconImage::parse(bytes);
    ASSERT_TRUE(ours.has_value());
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<int>(bytes.size()));
    for (const auto& image : ours->images()) {
        QImage theirs;
        for (int i = 0; theirs.size() != image.size() && i < 2; ++i) {
            QBuffer buffer;
            buffer.setData(data);
            QImageReader reader(&buffer, "ico");
            reader.jumpToImage(i);
            theirs = reader.read();
        }
        ASSERT_EQ(theirs.size(), image.size());
        EXPECT_EQ(theirs.convertToFormat(QImage::Format_ARGB32), image) << image.width() << " px";
    }
}

TEST(ProgramIcon, GivesAnIconOfBothSizes) {
    const auto icon = IconImage::parse(programIcon());
    ASSERT_TRUE(icon.has_value());
    const auto sizes = icon->icon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST(ProgramIcon, SavesPngsOfEachSizeThatReadBackTheSame) {
    const auto icon = IconImage::parse(programIcon());
    ASSERT_TRUE(icon.has_value());
    test::TempDir dir;
    for (const int size : {16, 32}) {
        const QString path = QString::fromStdString(dir.file(std::to_string(size) + ".png"));
        ASSERT_TRUE(icon->savePng(path, size));
        QImage back(path, "PNG");
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), icon->image(size));
    }
    EXPECT_FALSE(icon->savePng(QString::fromStdString(dir.file("missing/16.png")), 16));
}

TEST(ProgramIcon, OtherSizesAreScaledFromTheNearestLargerImage) {
    const auto icon = IconImage::parse(programIcon());
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->image(24).size(), QSize(24, 24));
    EXPECT_EQ(icon->image(48).size(), QSize(48, 48));
    EXPECT_TRUE(icon->image(0).isNull());
}

// --- Image kinds -----------------------------------------------------------------------------

// A 9 by 3 picture: the first column is masked out, the rest shows colour by column.
struct KindCase {
    const char* name;
    IcoBuilder icon;
    QRgb column1;
    QRgb column8;
    QRgb masked; // what the first column shows
};

constexpr QRgb red = 0xFFFF0000;
constexpr QRgb blue = 0xFF0000FF;
const std::vector<std::uint32_t> redAndBlue = {0x00FF0000, 0x000000FF};
bool firstColumn(int x, int) {
    return x == 0;
}
bool never(int, int) {
    return false;
}

void PrintTo(const KindCase& row, std::ostream* out) { *out << row.name; }

class IconKinds : public testing::TestWithParam<KindCase> {};

TEST_P(IconKinds, DecodeToTheSameArgbPicture) {
    const auto icon = IconImage::parse(GetParam().icon.build());
    ASSERT_TRUE(icon.has_value());
    ASSERT_EQ(icon->images().size(), 1u);
    const QImage& image = icon->images().front();
    ASSERT_EQ(image.size(), QSize(9, 3));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(image.pixel(0, y), GetParam().masked);
        EXPECT_EQ(image.pixel(1, y), GetParam().column1);
        EXPECT_EQ(image.pixel(8, y), GetParam().column8);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, IconKinds,
    testing::Values(
        KindCase{"OneBit",
                 IcoBuilder().bitmap(
                     9, 3, 1, redAndBlue, [](int x, int) { return x == 8 ? 1u : 0u; }, firstColumn),
                 red, blue, clear},
        KindCase{"FourBits",
                 IcoBuilder().bitmap(
                     9, 3, 4, redAndBlue, [](int x, int) { return x == 8 ? 1u : 0u; }, firstColumn),
                 red, blue, clear},
        KindCase{
            "EightBitsWithAnIndexPastThePalette",
            IcoBuilder().bitmap(
                9, 3, 8, redAndBlue, [](int x, int) { return x == 8 ? 200u : 1u; }, firstColumn),
            blue, 0xFF000000, clear},
        KindCase{"TwentyFourBits",
                 IcoBuilder().bitmap(
                     9, 3, 24, {}, [](int x, int) { return x == 8 ? 0x0000FFu : 0xFF0000u; },
                     firstColumn),
                 red, blue, clear},
        KindCase{"ThirtyTwoBitsWithAlphaIgnoreTheMask",
                 IcoBuilder().bitmap(
                     9, 3, 32, {}, [](int x, int) { return x == 0 ? 0x80FF0000u : 0xFF0000FFu; },
                     firstColumn),
                 blue, blue, 0x80FF0000},
        KindCase{"ThirtyTwoBitsWithoutAlphaUseTheMask",
                 IcoBuilder().bitmap(
                     9, 3, 32, {}, [](int, int) { return 0x00FF0000u; }, firstColumn),
                 red, red, clear},
        KindCase{"ThirtyTwoBitsWithoutAlphaOrMaskAreOpaque",
                 IcoBuilder().bitmap(
                     9, 3, 32, {}, [](int, int) { return 0x000000FFu; }, never, false),
                 blue, blue, blue},
        KindCase{"Png", IcoBuilder().png([] {
                     QImage image(9, 3, QImage::Format_ARGB32);
                     image.fill(blue);
                     for (int y = 0; y < 3; ++y)
                         image.setPixel(0, y, clear);
                     return image;
                 }()),
                 blue, blue, clear}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Refusals --------------------------------------------------------------------------------

Bytes withByte(Bytes bytes, std::size_t at, unsigned char value) {
    bytes[at] = value;
    return bytes;
}

TEST(IconRefusal, EveryTruncationOfTheProgramsIconIsRefused) {
    const Bytes whole = programIcon();
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(IconImage::parse(
            Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut))))
            << "cut at " << cut;
}

TEST(IconRefusal, DamagedHeadersAreRefused) {
    const Bytes whole = programIcon();
    const std::size_t firstBitmap = whole[18] | whole[19] << 8; // the first entry's offset
    struct Damage {
        const char* name;
        Bytes bytes;
    };
    const std::vector<Damage> damages = {
        {"reserved field set", withByte(whole, 0, 1)},
        {"a cursor, not an icon", withByte(whole, 2, 2)},
        {"no images", withByte(whole, 4, 0)},
        {"more images than entries", withByte(whole, 4, 9)},
        {"image size past the end", withByte(whole, 6 + 11, 0x40)},
        {"image offset past the end", withByte(whole, 6 + 13, 0x40)},
        {"bitmap header too small", withByte(whole, firstBitmap, 12)},
        {"bitmap header larger than the image", withByte(whole, firstBitmap + 1, 0x10)},
        {"three bits per pixel", withByte(whole, firstBitmap + 14, 3)},
        {"compressed bitmap", withByte(whole, firstBitmap + 16, 1)},
        {"odd double height", withByte(whole, firstBitmap + 8, 63)},
        {"negative width", withByte(whole, firstBitmap + 7, 0x80)},
        {"taller than the data", withByte(whole, firstBitmap + 9, 0x01)},
        {"broken PNG",
         IcoBuilder().raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}).build()},
    };
    for (const auto& damage : damages)
        EXPECT_FALSE(IconImage::parse(damage.bytes)) << damage.name;
}

} // namespace
