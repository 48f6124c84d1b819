#pragma once

#include "platform/gui/Window.h"

namespace platform {

// The requests an up-down control answers.
class UpDown final {
  public:
    explicit UpDown(Window control) : m_control(control) {}

    void setRange(int minimum, int maximum);
    int minimum() const;
    int maximum() const;
    int position() const;
    // One press of the up (+1) or down (-1) arrow.
    void step(int direction);
    Window buddy() const;

  private:
    Window m_control;
};

} // namespace platform
