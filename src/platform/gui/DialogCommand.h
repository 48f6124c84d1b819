#pragma once

namespace platform {

// The commands every dialog knows: Enter gives ok unless a push button has the focus, Esc and the
// close box give cancel. A push button with one of these ids stands for that key.
struct DialogCommand final {
    enum : int {
        ok = 1,
        cancel = 2,
    };
};

} // namespace platform
