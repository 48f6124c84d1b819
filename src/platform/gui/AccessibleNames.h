#pragma once

#include "platform/gui/DialogTemplate.h"

#include <QString>

#include <vector>

class QWidget;

namespace platform {

// Gives the controls of a dialog the names a screen reader speaks, from the dialog's template.
// Buttons, labels and group boxes are called by their own text; an edit field by the label just
// before it, or else by the caption of the group box that frames it; a progress bar or an animation
// by the template's name for it. An up-down control is called what its field is called.
class AccessibleNames final {
  public:
    // `controls` are the widgets made from `items`, in the same order.
    static void apply(const std::vector<ControlTemplate>& items,
                      const std::vector<QWidget*>& controls);
    // The text as shown: "&&" is one ampersand, and a single '&' only marks the mnemonic.
    static QString withoutMnemonic(const QString& text);

  private:
    static std::string nameOf(const std::vector<ControlTemplate>& items, std::size_t index);
    static std::string captionFraming(const std::vector<ControlTemplate>& items,
                                      const ControlTemplate& control);
};

} // namespace platform
