#include "platform/codecs/AviClip.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/EventPump.h"
#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform::AnimationWidget;
using platform::AviClip;
using Bytes = std::vector<unsigned char>;

Bytes generatedClip() {
    const auto bytes =
        resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip);
    return {bytes.begin(), bytes.end()};
}

std::size_t find(const Bytes& bytes, const char* code) {
    return std::search(bytes.begin(), bytes.end(), code, code + 4) - bytes.begin();
}

Bytes le32(std::size_t value) {
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

// The frames are stored as changes from the one before: a wrong change leaves a trail or a gap.
TEST(GeneratedClip, SheetFliesFromTheLeftFolderToTheRightOnAMagentaField) {
    const auto clip = AviClip::parse(generatedClip());
    ASSERT_TRUE(clip.has_value());
    ASSERT_EQ(clip->frameCount(), 17);
    EXPECT_EQ(clip->microSecondsPerFrame(), 100000u);
    double previousX = -1;
    std::vector<int> sheet;
    for (int i = 0; i < clip->frameCount(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const QImage& frame = clip->frame(i);
        ASSERT_EQ(frame.size(), QSize(260, 40));
        EXPECT_EQ(frame.pixel(0, 0), 0xFFFF00FF);
        EXPECT_EQ(frame.pixel(259, 39), 0xFFFF00FF);
        int paper = 0, leftFolder = 0, rightFolder = 0;
        double sumX = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 260; ++x) {
                const QRgb c = frame.pixel(x, y);
                const bool yellow = qRed(c) > 200 && qGreen(c) > 150 && qBlue(c) < 120;
                paper += c == 0xFFFFFFFF;
                sumX += c == 0xFFFFFFFF ? x : 0;
                leftFolder += yellow && x < 60;
                rightFolder += yellow && x >= 200;
            }
        EXPECT_GT(leftFolder, 300);
        EXPECT_GT(rightFolder, 300);
        EXPECT_GT(sumX / paper, previousX);
        previousX = sumX / paper;
        sheet.push_back(paper);
    }
    EXPECT_GT(previousX, 210);
    const auto [least, most] = std::minmax_element(sheet.begin() + 2, sheet.end() - 2);
    EXPECT_LE(*most * 4, *least * 5) << "the sheet changes size in flight";
}

// Where a damage is written: a place in the clip, found by its chunk codes (in this order).
enum class From { start, end, bitmap, frame, frameEnd, streamHeader };

struct Damage {
    const char* name;
    From cutFrom; // the clip is cut at cutFrom + cut (From::end with 0: kept whole)
    long cut;
    From from; // then these bytes are written at from + at
    long at;
    Bytes bytes;
    bool riffSizeAgrees = false; // the RIFF header then gives the cut length
};

class DamagedClip : public testing::TestWithParam<Damage> {};

// AddressSanitizer watches every read of the damaged copy.
TEST_P(DamagedClip, IsRefusedWithoutReadingPastItsBytes) {
    const Damage& row = GetParam();
    Bytes damaged = generatedClip();
    const std::size_t frame = find(damaged, "00dc") + 8;
    const std::size_t frameEnd = frame + (damaged[frame - 4] | damaged[frame - 3] << 8);
    const std::size_t place[] = {0,     damaged.size(), find(damaged, "strf") + 8,
                                 frame, frameEnd,       find(damaged, "strh") + 8};
    const std::size_t at = place[int(row.from)] + row.at;
    damaged.resize(place[int(row.cutFrom)] + row.cut);
    std::copy(row.bytes.begin(), row.bytes.end(), damaged.begin() + at);
    if (row.riffSizeAgrees) {
        const Bytes size = le32(damaged.size() - 8);
        std::copy(size.begin(), size.end(), damaged.begin() + 4);
    }
    EXPECT_FALSE(AviClip::parse(damaged));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedClip,
    testing::Values(
        Damage{"Empty", From::start, 0, From::start, 0, {}},
        Damage{"CutInAFrame", From::frame, 100, From::start, 0, {}},
        Damage{"CutInAFrameRiffSizeAgreeing", From::frame, 100, From::start, 0, {}, true},
        Damage{"SoundNotVideo", From::end, 0, From::streamHeader, 0, {'a', 'u', 'd', 's'}},
        Damage{"HeaderListPastTheEnd", From::end, 0, From::start, 16, le32(0x7FFFFFFF)},
        Damage{"FrameChunkPastTheEnd", From::end, 0, From::frame, -4, le32(0xFFFFFFFF)},
        Damage{"WidthBeyondReason", From::end, 0, From::bitmap, 4, le32(100000)},
        Damage{"NarrowerThanItsRuns", From::end, 0, From::bitmap, 4, le32(100)},
        Damage{"Rle8StoredTopDown", From::end, 0, From::bitmap, 8, le32(-40)},
        Damage{"FourBitsPerPixel", From::end, 0, From::bitmap, 14, {4}},
        Damage{"MoreThan256Colours", From::end, 0, From::bitmap, 32, le32(300)},
        Damage{"RunPastTheRightEdge", From::end, 0, From::frame, 0, {0xFF, 0, 0xFF, 0}},
        Damage{"MoveAboveTheTopRow", From::end, 0, From::frame, 0, {0, 2, 0, 41}},
        Damage{"CopyPastTheEndOfTheFrame", From::end, 0, From::frameEnd, -2, {0, 200}}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs timers as a long copy does between chunks, until the condition holds; the frames shown.
std::vector<int> framesUntil(const AnimationWidget& widget, const std::function<bool()>& condition,
                             int milliseconds = 10000) {
    std::vector<int> frames{widget.currentFrame()};
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) {
            ADD_FAILURE() << "no end after " << milliseconds << " ms, at frame " << frames.back();
            break;
        }
        platform::EventPump::pumpWithoutInput();
        if (widget.currentFrame() != frames.back())
            frames.push_back(widget.currentFrame());
    }
    return frames;
}

TEST(AnimationWidget, PlaysRangesWhileTimersRunAndStops) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(
        resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip)));
    EXPECT_FALSE(widget.play(0, 17, 1));

    ASSERT_TRUE(widget.play(3, 5, 2));
    EXPECT_EQ(framesUntil(widget, [&] { return !widget.isPlaying(); }),
              (std::vector<int>{3, 4, 5, 3, 4, 5}));

    ASSERT_TRUE(widget.play(0, AnimationWidget::lastFrame, AnimationWidget::withoutEnd));
    framesUntil(widget, [&] { return widget.currentFrame() == 16; });
    EXPECT_EQ(framesUntil(widget, [&] { return widget.currentFrame() == 2; }),
              (std::vector<int>{16, 0, 1, 2}));
    widget.stop();
    QElapsedTimer idle;
    idle.start();
    EXPECT_EQ(framesUntil(widget, [&] { return idle.elapsed() > 350; }), std::vector<int>{2});
}

} // namespace
