#pragma once

#include "platform/gui/DialogTemplate.h"
#include "platform/gui/ScreenRect.h"
#include "platform/gui/WindowHandle.h"

#include <string>

namespace platform {

// A real window or control, addressed through its handle. Every request on a window that no
// longer exists does nothing and answers with an empty value.
class Window final {
  public:
    Window() = default;
    explicit Window(WindowHandle handle) : m_handle(handle) {}

    WindowHandle handle() const { return m_handle; }
    bool exists() const;
    int controlId() const;

    std::string text() const;
    void setText(const std::string& text);

    // The control of this dialog with that id; a null window when there is none.
    Window child(int id) const;
    // A control's dialog, or a dialog's owner.
    Window parent() const;
    // The dialog a control belongs to, or the window itself when it is a dialog.
    Window topLevel() const;

    void setFocus();
    bool hasFocus() const;
    void selectAllText();
    // A path field: a file dropped on it from a file manager replaces its text with the file's
    // path.
    void acceptFileDrops();
    void enable(bool enabled);
    bool isEnabled() const;
    void show(bool visible);
    bool isVisible() const;
    bool isMinimized() const;

    // The outer rectangle, frame and caption included, in screen pixels.
    ScreenRect rect() const;
    // The client area, inside the frame and caption, in screen pixels. A window that has not yet
    // been shown has no frame, so its outer rectangle is its client area.
    ScreenRect clientRect() const;
    void move(const ScreenRect& outer, bool repaint);
    // A rectangle in this dialog's dialog units, converted to pixels of its client area.
    ScreenRect mapDialogRect(const DialogUnitRect& units) const;

    // The work area of the primary screen and of the screen nearest to this window.
    static ScreenRect primaryWorkArea();
    ScreenRect nearestWorkArea() const;

    static Window focused();

  private:
    WindowHandle m_handle;
};

} // namespace platform
