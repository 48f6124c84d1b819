#pragma once

#include "platform/Window.h"

#include <string>

namespace platform {

struct MessageBoxRequest {
    Window owner;
    std::string text;
    std::string caption;
    unsigned type = 0; // buttons in the low four bits, the icon in 0xF0, 0x1000 system-modal
};

// Shows a message box and answers with the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual int show(const MessageBoxRequest& request) = 0;
};

} // namespace platform
