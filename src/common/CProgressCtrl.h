#pragma once

#include "common/CWndControl.h"

#include "platform/gui/ProgressBar.h"

class CProgressCtrl final : public CWndControl {
  public:
    void SetRange32(int lower, int upper) { bar().setRange(lower, upper); }
    void SetPos(int position) { bar().setPosition(position); }
    int GetPos() const { return bar().position(); }
    int GetLower() const { return bar().low(); }
    int GetUpper() const { return bar().high(); }

  private:
    platform::ProgressBar bar() const { return platform::ProgressBar(m_window); }
};
