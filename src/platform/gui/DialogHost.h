#pragma once

#include "platform/gui/DialogEvents.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Window.h"

#include <span>
#include <string>

namespace platform {

// Runs dialogs built from templates modally. The owner of a new dialog is the dialog that is
// running modally at the time (the last active pop-up), which stays disabled until it ends. A
// template with the application-window style makes a normal window with a taskbar entry of its
// own, which the desktop sees as modal to nothing; the dialogs it owns are modal to it.
class DialogHost final {
  public:
    // Creates the window, lets the events initialise it, shows it and waits until endModal.
    // Answers -1 when the window cannot be made.
    static int runModal(const DialogTemplate& resource, DialogEvents& events);
    static void endModal(Window dialog, int result);
    // The dialog now running modally innermost, or a null window.
    static Window activeModal();

    // The window's own system menu: Minimize, Close, then the entries appended here (an empty
    // text appends a separator).
    static void appendSystemMenuItem(Window dialog, const std::string& text, unsigned id);
    // Minimize and Close, as the system menu does them.
    static void defaultSysCommand(Window dialog, unsigned id);
    // While busy, the dialog takes no commands and cannot be closed, the pointer shows that the
    // program works, and the controls named greyed are off.
    static void setBusy(Window dialog, bool busy, std::span<const int> greyed = {});
    // While it lives the pointer is the plain one, even over a busy dialog: for a question that
    // the work waits on.
    class PlainPointer final {
      public:
        PlainPointer();
        ~PlainPointer();
        PlainPointer(const PlainPointer&) = delete;
        PlainPointer& operator=(const PlainPointer&) = delete;
    };
    // Presses a control as a click would: the command reaches the dialog's events.
    static void sendCommand(Window dialog, int id);
    // The same command once the dialog is on screen and waiting for the user.
    static void postCommand(Window dialog, int id);
    // A system command, as the system menu sends it, to the dialog's events.
    static void sendSysCommand(Window dialog, unsigned id);
    // The window's big and small icon, from the bytes of an icon group.
    static void setIcon(Window dialog, std::span<const unsigned char> icoBytes);
};

} // namespace platform
