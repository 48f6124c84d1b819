#pragma once

#include <string>
#include <vector>

namespace bench {

// The command a user would otherwise run, started from PATH and timed from start to exit.
class RivalTool final {
  public:
    // `name` is what the errors call it; arguments[0] is the program.
    RivalTool(std::string name, std::vector<std::string> arguments);
    // Its standard output goes to this file, made afresh.
    RivalTool& writingTo(std::string path);
    // Answers the seconds it ran; throws when it cannot start or does not exit with 0.
    double timed() const;

  private:
    std::string m_name;
    std::vector<std::string> m_arguments;
    std::string m_output;
};

} // namespace bench
