#pragma once

#include <memory>

namespace platform {

// The desktop session of the process: exists from start-up until the program returns.
class Application final {
  public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace platform
