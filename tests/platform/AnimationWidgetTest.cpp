#include "AviBuilder.h"

#include "platform/AnimationWidget.h"
#include "platform/EventPump.h"
#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPalette>

#include <functional>
#include <vector>

namespace {

using platform::AnimationWidget;

std::span<const unsigned char> clip() {
    return resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip);
}

// Runs timers the way a long copy does between its chunks (no user input) until the condition
// holds or the deadline passes; records every frame the control shows on the way.
class Watch final {
  public:
    explicit Watch(const AnimationWidget& widget) : m_widget(widget) {
        m_frames.push_back(widget.currentFrame());
    }

    bool until(const std::function<bool()>& condition, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            platform::EventPump::pumpWithoutInput();
            if (m_widget.currentFrame() != m_frames.back())
                m_frames.push_back(m_widget.currentFrame());
        }
        return true;
    }

    void idle(int milliseconds) {
        until([] { return false; }, milliseconds);
    }

    const std::vector<int>& frames() const { return m_frames; }

  private:
    const AnimationWidget& m_widget;
    std::vector<int> m_frames;
};

TEST(AnimationWidget, OpensTheProgramsClipAndRefusesOtherBytes) {
    AnimationWidget widget;
    EXPECT_FALSE(widget.isOpen());
    EXPECT_FALSE(widget.play(0, AnimationWidget::lastFrame, AnimationWidget::withoutEnd));
    ASSERT_TRUE(widget.open(clip()));
    EXPECT_TRUE(widget.isOpen());
    EXPECT_EQ(widget.sizeHint(), QSize(260, 40));

    const std::vector<unsigned char> garbage(100, 0x41);
    EXPECT_FALSE(widget.open(garbage));
    EXPECT_FALSE(widget.isOpen());
}

TEST(AnimationWidget, RefusesRangesOutsideTheClip) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    struct Range {
        int from, to, repeat;
    };
    for (const Range range : {Range{-1, 5, 1}, Range{6, 5, 1}, Range{0, 17, 1}, Range{17, -1, 1},
                              Range{0, -2, 1}, Range{0, 5, -2}}) {
        EXPECT_FALSE(widget.play(range.from, range.to, range.repeat))
            << range.from << ".." << range.to << " x" << range.repeat;
        EXPECT_FALSE(widget.isPlaying());
    }
}

TEST(AnimationWidget, PlaysWithoutEndWhileTimersRunAndWrapsAround) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    ASSERT_TRUE(widget.play(0, AnimationWidget::lastFrame, AnimationWidget::withoutEnd));
    EXPECT_TRUE(widget.isPlaying());
    EXPECT_EQ(widget.currentFrame(), 0);

    Watch watch(widget);
    ASSERT_TRUE(watch.until([&] { return widget.currentFrame() == 16; }, 10000))
        << "the clip did not reach its last frame";
    ASSERT_TRUE(watch.until([&] { return widget.currentFrame() == 0; }, 5000))
        << "the clip did not start over";
    EXPECT_TRUE(widget.isPlaying());
    // Frames follow one another in order (a slow machine may skip none: one timer, one frame).
    const auto& frames = watch.frames();
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i], (frames[i - 1] + 1) % 17) << "after frame " << frames[i - 1];
}

TEST(AnimationWidget, PlaysARangeTheGivenNumberOfTimesThenStops) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    ASSERT_TRUE(widget.play(3, 5, 2));
    Watch watch(widget);
    ASSERT_TRUE(watch.until([&] { return !widget.isPlaying(); }, 10000))
        << "two passes of three frames did not end";
    EXPECT_EQ(watch.frames(), (std::vector<int>{3, 4, 5, 3, 4, 5}));
    EXPECT_EQ(widget.currentFrame(), 5);
}

TEST(AnimationWidget, StopHoldsTheFrameAndRepeatZeroOnlyShowsIt) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    ASSERT_TRUE(widget.play(0, AnimationWidget::lastFrame, AnimationWidget::withoutEnd));
    Watch watch(widget);
    ASSERT_TRUE(watch.until([&] { return widget.currentFrame() >= 2; }, 10000));
    widget.stop();
    EXPECT_FALSE(widget.isPlaying());
    const int held = widget.currentFrame();
    watch.idle(350);
    EXPECT_EQ(widget.currentFrame(), held);

    ASSERT_TRUE(widget.play(7, AnimationWidget::lastFrame, 0));
    EXPECT_FALSE(widget.isPlaying());
    EXPECT_EQ(widget.currentFrame(), 7);

    ASSERT_TRUE(widget.play(0, AnimationWidget::lastFrame, AnimationWidget::withoutEnd));
    widget.close();
    EXPECT_FALSE(widget.isPlaying());
    EXPECT_FALSE(widget.isOpen());
}

// --- Painting --------------------------------------------------------------------------------

QImage paint(AnimationWidget& widget, QSize size) {
    widget.resize(size);
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(AnimationWidget, PaintsTheCurrentFrameAtTheTopLeftWithoutCentring) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    ASSERT_TRUE(widget.play(9, AnimationWidget::lastFrame, 0));
    const auto frame = platform::AviClip::parse(clip())->frame(9);
    const QImage shown = paint(widget, QSize(300, 60));
    const QRgb background = widget.palette().color(QPalette::Window).rgb();
    EXPECT_EQ(shown.copy(0, 0, 260, 40), frame);
    EXPECT_EQ(shown.pixel(280, 10), background);
    EXPECT_EQ(shown.pixel(10, 50), background);
}

TEST(AnimationWidget, DrawsAPlainBorderAroundTheFrameWhenAsked) {
    AnimationWidget widget;
    ASSERT_TRUE(widget.open(clip()));
    widget.setBorder(true);
    EXPECT_EQ(widget.sizeHint(), QSize(262, 42));
    const auto frame = platform::AviClip::parse(clip())->frame(0);
    const QImage shown = paint(widget, QSize(262, 42));
    const QRgb border = widget.palette().color(QPalette::WindowText).rgb();
    EXPECT_EQ(shown.copy(1, 1, 260, 40), frame);
    for (const QPoint edge : {QPoint(0, 0), QPoint(261, 0), QPoint(0, 41), QPoint(261, 41),
                              QPoint(130, 0), QPoint(0, 20)})
        EXPECT_EQ(shown.pixel(edge), border) << edge.x() << "," << edge.y();
}

TEST(AnimationWidget, PaintsOnlyTheWindowBackgroundWithoutAClip) {
    AnimationWidget widget;
    const QImage shown = paint(widget, QSize(50, 20));
    const QRgb background = widget.palette().color(QPalette::Window).rgb();
    for (const QPoint point : {QPoint(0, 0), QPoint(25, 10), QPoint(49, 19)})
        EXPECT_EQ(shown.pixel(point), background);
}

} // namespace
