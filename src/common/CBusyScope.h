#pragma once

#include "platform/gui/Window.h"

#include <initializer_list>
#include <vector>

// While the scope lives its dialog is busy: windows repaint and timers run between the chunks of
// a transfer, but no command (Esc and the close box included) reaches the dialog under the running
// work; the pointer is the busy one over every window of the program, and the buttons named are
// greyed. The dialog takes commands again on every way out, a file error's included, before any
// message box or report is shown.
class CBusyScope final {
  public:
    explicit CBusyScope(platform::Window dialog, std::initializer_list<int> greyed = {});
    ~CBusyScope();
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

  private:
    platform::Window m_dialog;
    std::vector<int> m_greyed;
};
