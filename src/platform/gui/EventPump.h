#pragma once

namespace platform {

// Lets windows repaint and timers run during a long operation on the GUI thread. Keyboard and
// mouse input is dropped meanwhile, except a request to stop the operation: Esc, or a window's
// close box (Alt+F4 and closing the main window included), which the pump remembers until it
// is taken.
class EventPump final {
  public:
    static void pumpWithoutInput();
    // Whether a request to stop came since it was last taken; it is then forgotten.
    static bool takeStopRequest();
    // The same, without taking it: safe from any thread.
    static bool stopRequested();
};

} // namespace platform
