#pragma once

namespace platform {

// What a message box shows: one set of buttons, ORed with at most one icon, the button that Enter
// presses when it is not the first and, for a box that must be seen whatever else is open,
// systemModal.
struct MessageBoxType final {
    enum : unsigned {
        ok = 0x0,
        okCancel = 0x1,
        yesNoCancel = 0x3,
        yesNo = 0x4,
        retryCancel = 0x5,
        buttonMask = 0x0F,

        iconStop = 0x10,
        iconQuestion = 0x20,
        iconExclamation = 0x30,
        iconInformation = 0x40,
        iconMask = 0xF0,

        defaultButton2 = 0x100,
        defaultButton3 = 0x200,
        defaultButtonMask = 0xF00,

        systemModal = 0x1000,
    };
};

} // namespace platform
