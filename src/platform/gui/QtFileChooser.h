#pragma once

#include "platform/gui/FileChooserService.h"

namespace platform {

// The desktop's Open dialog; any name the user confirms is taken, existing or not.
class QtFileChooser final : public FileChooserService {
  public:
    FileChooserAnswer chooseFileToOpen(const FileChooserRequest& request) override;
};

} // namespace platform
