#pragma once

#include "platform/WindowHandle.h"

class QWidget;

namespace platform {

// Hands out handles for real widgets and finds a widget again from its handle. A destroyed
// widget's handle finds nothing, so code above the platform never holds a dangling pointer.
class WindowRegistry final {
  public:
    static WindowHandle handleOf(QWidget* widget);
    static QWidget* widget(WindowHandle handle);
    static void setControlId(QWidget* widget, int id);
    static int controlId(const QWidget* widget);
};

} // namespace platform
