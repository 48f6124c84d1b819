#pragma once

#include <functional>
#include <optional>
#include <string>

namespace test {

// Runs a piece of a test in a child process (to drop privileges or limit file sizes without
// touching the test process) and brings back the text that it returns.
class ForkedChild final {
  public:
    // The body's text, or nothing when the child did not finish within the bound (it is then
    // killed) or died.
    static std::optional<std::string> run(const std::function<std::string()>& body,
                                          int timeoutSeconds = 60);
};

} // namespace test
