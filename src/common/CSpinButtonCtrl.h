#pragma once

#include "common/CWndControl.h"

#include "platform/gui/UpDown.h"

class CSpinButtonCtrl final : public CWndControl {
  public:
    void SetRange(int lower, int upper) { arrows().setRange(lower, upper); }
    int GetLower() const { return arrows().minimum(); }
    int GetUpper() const { return arrows().maximum(); }
    int GetPos() const { return arrows().position(); }

  private:
    platform::UpDown arrows() const { return platform::UpDown(m_window); }
};
