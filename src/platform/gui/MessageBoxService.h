#pragma once

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Window.h"

#include <string>

namespace platform {

struct MessageBoxRequest {
    Window owner;
    std::string text;
    std::string caption;
    unsigned type = MessageBoxType::ok; // a MessageBoxType
};

// Shows a message box and answers with the button pressed, a MessageBoxAnswer.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual int show(const MessageBoxRequest& request) = 0;
};

} // namespace platform
