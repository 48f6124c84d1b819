#pragma once

#include "platform/gui/MessageBoxService.h"

namespace platform {

// Message boxes as real Qt windows titled with their caption.
class QtMessageBox final : public MessageBoxService {
  public:
    int show(const MessageBoxRequest& request) override;
};

} // namespace platform
