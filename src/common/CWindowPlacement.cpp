#include "common/CWindowPlacement.h"

platform::ScreenRect CWindowPlacement::Centre(const platform::ScreenRect& window,
                                              const platform::ScreenRect& over,
                                              const platform::ScreenRect& workArea) {
    const int width = window.width();
    const int height = window.height();
    int left = (over.left + over.right) / 2 - width / 2;
    int top = (over.top + over.bottom) / 2 - height / 2;
    if (left < workArea.left)
        left = workArea.left;
    else if (left + width > workArea.right)
        left = workArea.right - width;
    if (top < workArea.top)
        top = workArea.top;
    else if (top + height > workArea.bottom)
        top = workArea.bottom - height;
    return {left, top, left + width, top + height};
}
