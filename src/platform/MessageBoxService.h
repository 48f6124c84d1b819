#pragma once

#include "platform/MessageBoxAnswer.h"
#include "platform/MessageBoxType.h"
#include "platform/Window.h"

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
