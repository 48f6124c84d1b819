#pragma once

#include "platform/gui/Window.h"

// A control of a dialog bound to a member object. The binding is made by the field exchange and
// follows the dialog's window: each opening makes new controls, and the member is bound anew.
class CWndControl {
  public:
    void Attach(platform::Window control) { m_window = control; }
    bool IsAttached() const { return m_window.exists(); }
    platform::Window GetWindow() const { return m_window; }

  protected:
    CWndControl() = default;
    ~CWndControl() = default;

    platform::Window m_window;
};
