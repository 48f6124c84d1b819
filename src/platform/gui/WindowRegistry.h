#pragma once

#include "platform/gui/WindowHandle.h"

class QWidget;

namespace platform {

// Hands out handles for real widgets and finds a widget again from its handle. A destroyed
// widget's handle finds nothing, so code above the platform never holds a dangling pointer.
class WindowRegistry final {
  public:
    static WindowHandle handleOf(QWidget* widget);
    static QWidget* widget(WindowHandle handle);
    // The widget of that handle when it is of that kind, else nullptr.
    template <typename Kind> static Kind* widgetAs(WindowHandle handle) {
        return dynamic_cast<Kind*>(widget(handle));
    }
    static void setControlId(QWidget* widget, int id);
    static int controlId(const QWidget* widget);
};

} // namespace platform
