#pragma once

#include "platform/gui/ScreenRect.h"

// Where a dialog opens: centred on a rectangle, then pushed back inside the work area.
class CWindowPlacement final {
  public:
    static platform::ScreenRect Centre(const platform::ScreenRect& window,
                                       const platform::ScreenRect& over,
                                       const platform::ScreenRect& workArea);
};
