#pragma once

namespace platform {

// Window and control style bits, with the values the dialog templates are written in.
struct Style final {
    static constexpr unsigned popup = 0x80000000;
    static constexpr unsigned visible = 0x10000000;
    static constexpr unsigned disabled = 0x08000000;
    static constexpr unsigned caption = 0x00C00000;
    static constexpr unsigned border = 0x00800000;
    static constexpr unsigned sysMenu = 0x00080000;
    static constexpr unsigned tabStop = 0x00010000;
    static constexpr unsigned modalFrame = 0x00000080;    // DS_MODALFRAME
    static constexpr unsigned setFont = 0x00000040;       // DS_SETFONT
    static constexpr unsigned defPushButton = 0x00000001; // BS_DEFPUSHBUTTON
    static constexpr unsigned editAutoHScroll = 0x00000080;
    static constexpr unsigned staticCenter = 0x00000001;
    static constexpr unsigned staticSunken = 0x00001000;
    static constexpr unsigned upDownSetBuddyInt = 0x0002;
    static constexpr unsigned upDownAutoBuddy = 0x0010;
    static constexpr unsigned upDownArrowKeys = 0x0020;
    static constexpr unsigned exDlgModalFrame = 0x00000001;
    static constexpr unsigned exAppWindow = 0x00040000;
};

} // namespace platform
