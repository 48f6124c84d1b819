#pragma once

#include "platform/codecs/AviClip.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <span>

namespace platform {

// The animation control: shows one clip at its top-left corner and plays a range of its frames
// on a timer at the clip's own rate, so it moves whenever the event loop runs timers, including
// while a long operation pumps events between chunks of work.
class AnimationWidget final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int withoutEnd = -1;
    static constexpr int lastFrame = -1;

    explicit AnimationWidget(QWidget* parent = nullptr);

    // Sizes the control to the clip and its border. False, with no clip open, when the bytes are
    // not a clip this control can show.
    bool open(std::span<const unsigned char> aviBytes);
    void close();
    bool isOpen() const { return m_clip.has_value(); }
    // Plays frames from..to (lastFrame for the clip's last) `repeat` times, or withoutEnd. False
    // when no clip is open or the range is not within the clip. A repeat of 0 shows `from`.
    bool play(int from, int to, int repeat);
    void stop();
    bool isPlaying() const { return m_timer.isActive(); }
    int currentFrame() const { return m_current; }

    void setBorder(bool border);
    bool hasBorder() const { return m_border; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void advance();
    void showFrame(int index);

    std::optional<AviClip> m_clip;
    QTimer m_timer;
    int m_current = 0;
    int m_from = 0;
    int m_to = 0;
    int m_passesLeft = 0; // after the one playing now; withoutEnd repeats for ever
    bool m_border = false;
};

} // namespace platform
