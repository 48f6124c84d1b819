#pragma once

#include <string>

namespace platform {

// Opens a help file at a context; false when the viewer cannot be started.
class HelpViewerService {
  public:
    virtual ~HelpViewerService() = default;
    virtual bool showHelp(const std::string& helpFile, unsigned context) = 0;
};

} // namespace platform
