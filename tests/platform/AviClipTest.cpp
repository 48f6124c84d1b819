#include "AviBuilder.h"

#include "platform/AviClip.h"
#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::AviClip;
using test::AviBuilder;
using Bytes = AviBuilder::Bytes;

constexpr QRgb magenta = 0xFFFF00FF;
constexpr QRgb white = 0xFFFFFFFF;

// The builder's default palette, one letter a colour; '?' for anything else.
std::vector<std::string> picture(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            switch (image.pixel(x, y)) {
            case 0xFFFF00FF:
                row += 'M';
                break;
            case 0xFF000000:
                row += 'K';
                break;
            case 0xFFFFFFFF:
                row += 'W';
                break;
            case 0xFFFFD84A:
                row += 'Y';
                break;
            default:
                row += '?';
                break;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

Bytes generatedClip() {
    const auto bytes =
        resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip);
    return {bytes.begin(), bytes.end()};
}

std::size_t find(const Bytes& bytes, const char* code, std::size_t from = 0) {
    for (std::size_t at = from; at + 4 <= bytes.size(); ++at)
        if (std::memcmp(bytes.data() + at, code, 4) == 0)
            return at;
    return bytes.size();
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Whatever a damaged clip does, an accepted one holds whole frames of the size it claims.
void expectWholeIfAccepted(const std::optional<AviClip>& clip) {
    if (!clip)
        return;
    ASSERT_GT(clip->frameCount(), 0);
    for (int i = 0; i < clip->frameCount(); ++i) {
        ASSERT_EQ(clip->frame(i).width(), clip->width());
        ASSERT_EQ(clip->frame(i).height(), clip->height());
    }
}

struct WhiteStats {
    int count = 0;
    double centreX = 0;
    int top = 1000;
};

WhiteStats whiteOf(const QImage& frame) {
    WhiteStats stats;
    long sumX = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) == white) {
                ++stats.count;
                sumX += x;
                stats.top = std::min(stats.top, y);
            }
    stats.centreX = stats.count > 0 ? static_cast<double>(sumX) / stats.count : -1;
    return stats;
}

int yellowIn(const QImage& frame, int fromX, int toX) {
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = fromX; x < toX; ++x) {
            const QRgb c = frame.pixel(x, y);
            count += qRed(c) > 200 && qGreen(c) > 150 && qBlue(c) < 120;
        }
    return count;
}

// --- The program's own clip ------------------------------------------------------------------

TEST(GeneratedClip, HasTheShapeAndRateOfTheCopyAnimation) {
    const auto clip = AviClip::parse(generatedClip());
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->width(), 260);
    EXPECT_EQ(clip->height(), 40);
    EXPECT_EQ(clip->frameCount(), 17);
    EXPECT_EQ(clip->microSecondsPerFrame(), 100000u);
    EXPECT_TRUE(clip->isRle8());
    EXPECT_EQ(clip->paletteSize(), 16);
}

TEST(GeneratedClip, EveryFrameDecodesOnAMagentaField) {
    const auto clip = AviClip::parse(generatedClip());
    ASSERT_TRUE(clip.has_value());
    for (int i = 0; i < clip->frameCount(); ++i) {
        const QImage& frame = clip->frame(i);
        ASSERT_FALSE(frame.isNull()) << "frame " << i;
        ASSERT_EQ(frame.size(), QSize(260, 40)) << "frame " << i;
        for (const QPoint corner : {QPoint(0, 0), QPoint(259, 0), QPoint(0, 39), QPoint(259, 39)})
            EXPECT_EQ(frame.pixel(corner), magenta) << "frame " << i;
        EXPECT_GT(yellowIn(frame, 0, 60), 300) << "left folder, frame " << i;
        EXPECT_GT(yellowIn(frame, 200, 260), 300) << "right folder, frame " << i;
        if (i > 0) {
            EXPECT_NE(frame, clip->frame(i - 1)) << "frame " << i << " repeats the one before";
        }
    }
    EXPECT_TRUE(clip->frame(17).isNull());
    EXPECT_TRUE(clip->frame(-1).isNull());
}

TEST(GeneratedClip, ThePaperFliesInAnArcFromTheLeftFolderToTheRight) {
    const auto clip = AviClip::parse(generatedClip());
    ASSERT_TRUE(clip.has_value());
    std::vector<WhiteStats> paper;
    for (int i = 0; i < clip->frameCount(); ++i)
        paper.push_back(whiteOf(clip->frame(i)));
    EXPECT_LT(paper.front().centreX, 50);
    EXPECT_GT(paper.back().centreX, 210);
    for (std::size_t i = 1; i < paper.size(); ++i)
        EXPECT_GT(paper[i].centreX, paper[i - 1].centreX) << "frame " << i;
    EXPECT_LE(paper[8].top + 8, paper.front().top);
    EXPECT_LE(paper[8].top + 8, paper.back().top);
    // Frames are stored as changes from the one before: a wrong change would leave a trail.
    int least = paper[2].count;
    int most = paper[2].count;
    for (std::size_t i = 2; i + 2 < paper.size(); ++i) {
        least = std::min(least, paper[i].count);
        most = std::max(most, paper[i].count);
    }
    EXPECT_LE(most * 4, least * 5) << "the sheet's size changes in flight";
}

// --- Decoding --------------------------------------------------------------------------------

struct DecodeCase {
    const char* name;
    AviBuilder clip;
    std::vector<std::string> lastFrame;
    int frames;
};

void PrintTo(const DecodeCase& row, std::ostream* out) { *out << row.name; }

class ClipDecoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(ClipDecoding, GivesThePictureTheDataDescribes) {
    const auto clip = AviClip::parse(GetParam().clip.build());
    ASSERT_TRUE(clip.has_value());
    ASSERT_EQ(clip->frameCount(), GetParam().frames);
    EXPECT_EQ(picture(clip->frame(clip->frameCount() - 1)), GetParam().lastFrame);
}

// Palette indices: 0 magenta (M), 1 black (K), 2 white (W), 3 yellow (Y). RLE rows go bottom-up.
INSTANTIATE_TEST_SUITE_P(
    Rle8AndPlain, ClipDecoding,
    testing::Values(
        DecodeCase{"RunsFillRowsFromTheBottomUp",
                   AviBuilder(4, 2).frame({4, 1, 0, 0, 2, 2, 2, 3, 0, 1}),
                   {"WWYY", "KKKK"},
                   1},
        DecodeCase{"AbsoluteModeCopiesPixelsAndSkipsItsPad",
                   AviBuilder(4, 2).frame({0, 3, 1, 2, 3, 0, 1, 0, 0, 0, 0, 4, 3, 3, 3, 3, 0, 1}),
                   {"YYYY", "KWYM"},
                   1},
        DecodeCase{"DeltaMovesWithoutTouchingPixels",
                   AviBuilder(4, 2).frame({0, 2, 1, 1, 2, 1, 0, 1}),
                   {"MKKM", "MMMM"},
                   1},
        DecodeCase{"EndOfBitmapKeepsThePreviousFrameElsewhere",
                   AviBuilder(4, 2).frame({4, 2, 0, 0, 4, 2, 0, 1}).frame({2, 1, 0, 1}),
                   {"WWWW", "KKWW"},
                   2},
        DecodeCase{"DataWithoutTheEndMarkEndsTheFrame",
                   AviBuilder(4, 2).frame({4, 3}),
                   {"MMMM", "YYYY"},
                   1},
        DecodeCase{"AnEmptyFrameChunkRepeatsThePicture",
                   AviBuilder(4, 2).frame({4, 1, 0, 0, 4, 2, 0, 1}).frame({}),
                   {"WWWW", "KKKK"},
                   2},
        DecodeCase{"AnIndexPastThePaletteIsBlack",
                   AviBuilder(4, 2).frame({4, 9, 0, 1}),
                   {"MMMM", "KKKK"},
                   1},
        DecodeCase{"DeltaToTheEndOfARowThenEndOfLine",
                   AviBuilder(4, 2).frame({0, 2, 4, 0, 0, 0, 4, 1, 0, 1}),
                   {"KKKK", "MMMM"},
                   1},
        DecodeCase{"EndOfLineAfterTheTopRow",
                   AviBuilder(4, 2).frame({4, 1, 0, 0, 4, 1, 0, 0, 0, 1}),
                   {"KKKK", "KKKK"},
                   1},
        DecodeCase{"FramesInsideRecordLists",
                   AviBuilder(4, 1).inRecords().frame({4, 2, 0, 1}).frame({1, 3, 0, 1}),
                   {"YWWW"},
                   2},
        DecodeCase{"OtherChunksInTheMovieAreNotFrames",
                   AviBuilder(4, 1).frame({4, 2}).frame({9, 9}, "01wb").frame({1, 2}, "ix00"),
                   {"WWWW"},
                   1},
        DecodeCase{"PlainBottomUpRowsArePaddedToFourBytes",
                   AviBuilder(3, 2).compression(0).frame({1, 2, 3, 0, 0, 0, 0, 0}, "00db"),
                   {"MMM", "KWY"},
                   1},
        DecodeCase{"PlainTopDownRows",
                   AviBuilder(3, -2).compression(0).frame({1, 2, 3, 0, 0, 0, 0, 0}, "00db"),
                   {"KWY", "MMM"},
                   1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClipHeaders, RateComesFromTheStreamWhenTheMainHeaderHasNone) {
    const auto clip = AviClip::parse(
        AviBuilder(4, 1).microSecondsPerFrame(0).streamRate(1, 25).frame({4, 1}).build());
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->microSecondsPerFrame(), 40000u);
}

TEST(ClipHeaders, PlainFramesAreNotRle8) {
    const auto clip =
        AviClip::parse(AviBuilder(4, 1).compression(0).frame({1, 1, 1, 1}, "00db").build());
    ASSERT_TRUE(clip.has_value());
    EXPECT_FALSE(clip->isRle8());
    EXPECT_EQ(clip->paletteSize(), 4);
}

// --- Refusals --------------------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    AviBuilder clip;
};

void PrintTo(const RefusalCase& row, std::ostream* out) { *out << row.name; }

class ClipRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(ClipRefusal, IsRefusedAsAWhole) {
    EXPECT_FALSE(AviClip::parse(GetParam().clip.build()));
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ClipRefusal,
    testing::Values(
        RefusalCase{"RunPastTheRightEdge", AviBuilder(4, 2).frame({5, 1})},
        RefusalCase{"RunAfterAMoveToTheEdge", AviBuilder(4, 2).frame({0, 2, 4, 0, 1, 1})},
        RefusalCase{"CopyPastTheRightEdge", AviBuilder(4, 2).frame({0, 5, 1, 1, 1, 1, 1, 0})},
        RefusalCase{"RunAboveTheTopRow", AviBuilder(4, 2).frame({0, 0, 0, 0, 1, 1})},
        RefusalCase{"EndOfLinePastTheTop", AviBuilder(4, 2).frame({0, 0, 0, 0, 0, 0})},
        RefusalCase{"MovePastTheRightEdge", AviBuilder(4, 2).frame({0, 2, 5, 0})},
        RefusalCase{"MovePastTheTop", AviBuilder(4, 2).frame({0, 2, 0, 3})},
        RefusalCase{"EscapeCutShort", AviBuilder(4, 2).frame({4, 1, 0})},
        RefusalCase{"MoveCutShort", AviBuilder(4, 2).frame({0, 2, 1})},
        RefusalCase{"CopyCutShort", AviBuilder(4, 2).frame({0, 5, 1, 1})},
        RefusalCase{"Rle8StoredTopDown", AviBuilder(4, -2).frame({4, 1})},
        RefusalCase{"FourBitsPerPixel", AviBuilder(4, 2).bitCount(4).frame({4, 1})},
        RefusalCase{"Rle4Compression", AviBuilder(4, 2).compression(2).frame({4, 1})},
        RefusalCase{"TwoStreams", AviBuilder(4, 2).secondStream().frame({4, 1})},
        RefusalCase{"SoundInsteadOfVideo", AviBuilder(4, 2).streamType("auds").frame({4, 1})},
        RefusalCase{"NoMovieList", AviBuilder(4, 2).withoutMovie()},
        RefusalCase{"NoFrames", AviBuilder(4, 2)},
        RefusalCase{"MoreThan256Colours", AviBuilder(4, 2).declaredColours(300).frame({4, 1})},
        RefusalCase{"PaletteShorterThanDeclared",
                    AviBuilder(4, 2).declaredColours(16).frame({4, 1})},
        RefusalCase{"ZeroWidth", AviBuilder(0, 2).frame({0, 1})},
        RefusalCase{"WidthBeyondReason", AviBuilder(100000, 2).frame({0, 1})},
        RefusalCase{"HeightBeyondReason", AviBuilder(4, -2147483647 - 1).compression(0).frame({1})},
        RefusalCase{"NoFrameRateAnywhere",
                    AviBuilder(4, 2).microSecondsPerFrame(0).streamRate(0, 0).frame({4, 1})},
        RefusalCase{"PlainFrameShorterThanThePicture",
                    AviBuilder(4, 2).compression(0).frame({1, 1, 1}, "00db")},
        RefusalCase{"MoreFramesThanMemoryAllows",
                    AviBuilder(4096, 4096).frame({0, 1}).frame({0, 1})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClipRefusal, GarbageAndEmptyInput) {
    EXPECT_FALSE(AviClip::parse({}));
    const Bytes text{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_FALSE(AviClip::parse(text));
}

// --- Damaged copies of the program's clip (AddressSanitizer watches every read) --------------

TEST(DamagedClip, EveryTruncationIsRefusedUnlessItEndsBeforeTheIndex) {
    const Bytes whole = generatedClip();
    const std::size_t index = find(whole, "idx1", find(whole, "movi"));
    ASSERT_LT(index, whole.size());
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(AviClip::parse(part)) << "cut at " << cut;
        // The same cut with a RIFF header that agrees: now the inner chunks are what lie.
        if (cut < 12)
            continue;
        put32(part, 4, static_cast<std::uint32_t>(cut - 8));
        const auto clip = AviClip::parse(part);
        EXPECT_EQ(clip.has_value(), cut == index) << "cut at " << cut;
        expectWholeIfAccepted(clip);
    }
}

TEST(DamagedClip, LyingChunkSizesAreRefusedOrHarmless) {
    const Bytes whole = generatedClip();
    std::vector<std::size_t> headers;
    for (std::size_t at = find(whole, "LIST"); at < whole.size(); at = find(whole, "LIST", at + 1))
        headers.push_back(at);
    for (const char* code : {"RIFF", "avih", "strh", "strf", "JUNK", "00dc", "idx1"})
        if (find(whole, code) < whole.size())
            headers.push_back(find(whole, code));
    ASSERT_GE(headers.size(), 8u);
    for (const std::size_t at : headers) {
        const std::uint32_t size = whole[at + 4] | whole[at + 5] << 8 | whole[at + 6] << 16 |
                                   static_cast<std::uint32_t>(whole[at + 7]) << 24;
        for (const std::uint32_t lie :
             {0u, 1u, 3u, size - 2, size - 1, size + 1, size + 2, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            Bytes damaged = whole;
            put32(damaged, at + 4, lie);
            const auto clip = AviClip::parse(damaged);
            if (lie >= 0x7FFFFFFFu) {
                EXPECT_FALSE(clip) << "size " << lie << " at " << at;
            }
            expectWholeIfAccepted(clip);
        }
    }
}

TEST(DamagedClip, LyingBitmapHeadersAreRefusedOrHarmless) {
    const Bytes whole = generatedClip();
    const std::size_t info = find(whole, "strf") + 8;
    struct Field {
        std::size_t offset;
        std::vector<std::uint32_t> values;
    };
    const std::vector<Field> fields = {
        {0, {0, 39, 41, 1000, 0xFFFFFFFF}},                             // header size
        {4, {0, 1, 259, 261, 520, 4096, 4097, 0xFFFFFFFF, 0x80000000}}, // width
        {8, {0, 1, 39, 41, 0xFFFFFFD8, 4097, 0x80000000}},              // height
        {14, {0, 1, 4, 16, 24, 32}},                                    // bits per pixel
        {16, {0, 2, 3, 0xFFFFFFFF}},                                    // compression
        {32, {0, 1, 17, 255, 256, 257, 0xFFFFFFFF}},                    // colours used
    };
    for (const auto& field : fields)
        for (const std::uint32_t value : field.values) {
            Bytes damaged = whole;
            if (field.offset == 14) {
                damaged[info + 14] = static_cast<unsigned char>(value);
                damaged[info + 15] = 0;
            } else {
                put32(damaged, info + field.offset, value);
            }
            expectWholeIfAccepted(AviClip::parse(damaged));
        }
}

TEST(DamagedClip, RandomByteDamageNeverCrashes) {
    const Bytes whole = generatedClip();
    std::mt19937 random(20240601);
    for (int round = 0; round < 1000; ++round) {
        Bytes damaged = whole;
        const int hits = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < hits; ++i) {
            // Mostly the headers and the first frames, where a change reaches the decoder.
            const std::size_t span =
                random() % 2 == 0 ? std::min<std::size_t>(800, whole.size()) : whole.size();
            damaged[random() % span] = static_cast<unsigned char>(random());
        }
        expectWholeIfAccepted(AviClip::parse(damaged));
    }
}

} // namespace
