#pragma once

#include "platform/Window.h"

#include <functional>

class CDialog;

namespace test {

// Drives modal dialogs from inside their own loops, with every wait bounded.
class Modal final {
public:
    using Body = std::function<void(platform::Window dialog)>;

    // Runs the dialog; `body` runs once it is up. A dialog still open after the body is closed
    // with command 2 (Esc). After `seconds` the test fails and every modal window is closed.
    static int run(CDialog& dialog, Body body, int seconds = 60);
    // Calls `trigger`, which opens another modal dialog; `body` runs inside that dialog, which is
    // closed with command 2 when the body leaves it open. Fails the test when none opens.
    static void whenOpens(const std::function<void()>& trigger, Body body);
    // Closes every modal window that is still on screen, innermost first.
    static void closeAll();
};

} // namespace test
