#pragma once

namespace platform {

// The button a message box was closed with.
struct MessageBoxAnswer final {
    enum : int {
        ok = 1,
        cancel = 2,
        retry = 4,
        yes = 6,
        no = 7,
    };
};

} // namespace platform
