#pragma once

namespace platform {

// Lets windows repaint and timers run during a long operation on the GUI thread, while keyboard
// and mouse input waits until the operation has finished.
class EventPump final {
  public:
    static void pumpWithoutInput();
};

} // namespace platform
