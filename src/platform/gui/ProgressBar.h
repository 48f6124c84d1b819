#pragma once

#include "platform/gui/Window.h"

namespace platform {

// The requests a progress bar control answers.
class ProgressBar final {
  public:
    explicit ProgressBar(Window control) : m_control(control) {}

    void setRange(int low, int high);
    void setStep(int step);
    void stepIt();
    void setPosition(int position);
    int position() const;
    int low() const;
    int high() const;

  private:
    Window m_control;
};

} // namespace platform
