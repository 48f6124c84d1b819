#pragma once

#include "platform/Window.h"

#include <QPoint>
#include <Qt>

#include <functional>
#include <vector>

class QWidget;

namespace test {

// Drives the main window the way a user would, and watches which dialogs its actions open.
class ShellDriver final {
  public:
    // Runs `action` and answers the resource number of every dialog that opened meanwhile; each is
    // closed with Esc as soon as it is seen, so an action that opens one returns.
    static std::vector<int> dialogsOpenedBy(const std::function<void()>& action);
    // Runs `action`, which opens a modal window of any kind (a dialog, a message box, the file
    // dialog); `body` runs while it is up, and it is closed afterwards if the body left it open.
    // Fails the test when none opens.
    // Only a modal window that `wanted` accepts counts, when it is given.
    static void whileModalUp(const std::function<void()>& action,
                             const std::function<void(QWidget* modal)>& body,
                             const std::function<bool(QWidget* modal)>& wanted = nullptr);
    // The resource number of the dialog of that window (0 when it is none of ours).
    static int resourceOf(platform::Window dialog);
    // The id of the control that has the focus in that dialog (0 when none has).
    static int focusedId(platform::Window dialog);
    // A mouse click through the window system, as the desktop delivers it: a window blocked by a
    // modal one never sees it.
    static void clickThroughDesktop(QWidget* control, Qt::MouseButton button = Qt::LeftButton);
    // A mouse click through the window system at a point of the dialog's client area.
    static void clickAt(platform::Window dialog, QPoint at, Qt::MouseButton button);
    // A key through the window system to that window once it is the active one, as the desktop
    // delivers it to the control that has the focus there.
    static void keyThroughDesktop(platform::Window dialog, Qt::Key key,
                                  Qt::KeyboardModifiers modifiers = Qt::NoModifier);
};

} // namespace test
