#pragma once

#include "platform/gui/HelpViewerService.h"

namespace platform {

// Opens the help file with the desktop's default handler; refuses when there is no such file.
class DesktopHelpViewer final : public HelpViewerService {
  public:
    bool showHelp(const std::string& helpFile, unsigned context) override;
};

} // namespace platform
