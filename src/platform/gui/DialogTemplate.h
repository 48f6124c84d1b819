#pragma once

#include <string>
#include <vector>

namespace platform {

enum class ControlKind { PushButton, Edit, GroupBox, Static, ProgressBar, UpDown, Animation };

// A rectangle in dialog units: x px = x du * horizontal base / 4, y px = y du * vertical base / 8.
struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct ControlTemplate {
    int id = -1; // -1: a control that is never addressed
    ControlKind kind = ControlKind::Static;
    std::string text;
    DialogUnitRect rect;
    unsigned style = 0;
    unsigned exStyle = 0;
    // What assistive technology calls a control that shows no text of its own and has no label:
    // a progress bar or an animation says here what it shows.
    std::string name = {};
};

// A dialog resource: the window and its controls in tab order.
struct DialogTemplate {
    int id = 0;
    std::string caption;
    int cx = 0;
    int cy = 0;
    std::string fontName;
    int pointSize = 8;
    unsigned style = 0;
    unsigned exStyle = 0;
    std::vector<ControlTemplate> controls;
};

} // namespace platform
