#pragma once

#include "platform/gui/StartRequest.h"

#include <optional>
#include <string>

namespace platform {

// The program's options, read before the desktop session starts: --help and --version are answered
// on standard output and a mistake on standard error, neither needing a display. The toolkit is
// never given the arguments, so its own options ("-platform", "-style") are mistakes like any
// other unknown option.
class CommandLine final {
  public:
    static constexpr int usageError = 2;

    struct About {
        std::string name;    // the display name
        std::string version; // "1.2.0.1"
        std::string summary; // one line
    };

    CommandLine(int argc, char** argv, const About& about);

    // Set when the command line has been answered and the program ends with this status.
    std::optional<int> exitStatus() const { return m_exitStatus; }
    const StartRequest& request() const { return m_request; }

  private:
    std::optional<int> m_exitStatus;
    StartRequest m_request;
};

} // namespace platform
