#pragma once

#include "platform/gui/DialogTemplate.h"

class QWidget;

namespace platform {

class DialogWindow;

// Makes the toolkit control for one item of a dialog template, a child of the dialog. A push
// button sends its id to the dialog as a command.
class DialogControlFactory final {
  public:
    // `previous` is the control made just before this one, or null: an up-down's buddy.
    static QWidget* create(const ControlTemplate& item, DialogWindow& dialog, QWidget* previous);
};

} // namespace platform
