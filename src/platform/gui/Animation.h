#pragma once

#include "platform/gui/Window.h"

#include <span>

namespace platform {

// The requests an animation control answers: a clip from bytes, played on the control's own timer.
class Animation final {
  public:
    explicit Animation(Window control) : m_control(control) {}

    bool open(std::span<const unsigned char> aviBytes);
    void close();
    // Frames `from` to `to` (-1: the last), `repeat` times (-1: without end).
    bool play(int from, int to, int repeat);
    void stop();
    bool isPlaying() const;
    int currentFrame() const;

  private:
    Window m_control;
};

} // namespace platform
