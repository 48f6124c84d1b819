#pragma once

#include "platform/gui/Window.h"

namespace platform {

// What a dialog built from a template tells its owner object.
class DialogEvents {
  public:
    // The controls exist and the window is not yet shown. True puts the focus on the first tab
    // stop.
    virtual bool onInitDialog(Window dialog) = 0;
    // A button was pressed (its id), Enter (1 or the focused button's id), or Esc / close box (2).
    virtual void onCommand(int id) = 0;
    // An entry of the window's own system menu was chosen.
    virtual void onSysCommand(unsigned id) = 0;
    // F1 without Shift, Ctrl or Alt.
    virtual void onHelpKey() = 0;

  protected:
    ~DialogEvents() = default;
};

} // namespace platform
