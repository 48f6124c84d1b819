#pragma once

#include <string>

class CDialog;

namespace bench {

// One press of a dialog's action button in a freshly opened dialog, with the message boxes
// answered OK. The time is that of the press alone, not of opening and closing the dialog.
class DialogPress final {
  public:
    // Answers the seconds the press took; throws unless the press showed exactly the one message
    // `success` (`operation` names what failed, e.g. "the split").
    static double timed(CDialog& dialog, int button, const std::string& success,
                        const std::string& operation);
};

} // namespace bench
