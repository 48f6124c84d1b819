#pragma once

namespace platform {

// The entries of a window's system menu that every dialog knows. The low four bits of a command
// do not change what it is: compare `id & kindMask`.
struct SystemCommand final {
    enum : unsigned {
        minimize = 0xF020,
        close = 0xF060,
        kindMask = 0xFFF0,
    };
};

} // namespace platform
