#include "platform/AnimationWidget.h"
#include "platform/AviClip.h"
#include "platform/EventPump.h"
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
    EXPECT_EQ(QSize(clip->width(), clip->height()), QSize(260, 40));
    ASSERT_EQ(clip->frameCount(), 17);
    EXPECT_EQ(clip->microSecondsPerFrame(), 100000u);
    EXPECT_TRUE(clip->isRle8());
    EXPECT_EQ(clip->paletteSize(), 16);
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

// AddressSanitizer watches every read of these damaged copies.
TEST(DamagedClip, IsRefusedWithoutReadingPastItsBytes) {
    const Bytes whole = generatedClip();
    const std::size_t bitmap = find(whole, "strf") + 8, frame = find(whole, "00dc") + 8;
    const std::size_t frameEnd = frame + (whole[frame - 4] | whole[frame - 3] << 8);
    const std::size_t n = whole.size();
    const struct {
        const char* name;
        std::size_t length, at; // cut to length, then these bytes written at
        Bytes bytes;
    } rows[] = {
        {"empty", 0, 0, {}},
        {"cut in a frame", frame + 100, 0, {}},
        {"cut in a frame, RIFF size agreeing", frame + 100, 4, le32(frame + 92)},
        {"sound, not video", n, find(whole, "strh") + 8, {'a', 'u', 'd', 's'}},
        {"header list past the end", n, 16, le32(0x7FFFFFFF)},
        {"frame chunk past the end", n, frame - 4, le32(0xFFFFFFFF)},
        {"width beyond reason", n, bitmap + 4, le32(100000)},
        {"narrower than its runs", n, bitmap + 4, le32(100)},
        {"RLE8 stored top-down", n, bitmap + 8, le32(-40)},
        {"four bits per pixel", n, bitmap + 14, {4}},
        {"more than 256 colours", n, bitmap + 32, le32(300)},
        {"run past the right edge", n, frame, {0xFF, 0, 0xFF, 0}},
        {"move above the top row", n, frame, {0, 2, 0, 41}},
        {"copy past the end of the frame", n, frameEnd - 2, {0, 200}},
    };
    for (const auto& row : rows) {
        Bytes damaged = whole;
        damaged.resize(row.length);
        std::copy(row.bytes.begin(), row.bytes.end(), damaged.begin() + row.at);
        EXPECT_FALSE(AviClip::parse(damaged)) << row.name;
    }
}

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
