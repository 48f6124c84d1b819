#pragma once

#include <chrono>

namespace bench {

// Wall-clock time since it was started, in seconds.
class Stopwatch final {
  public:
    Stopwatch() : m_start(Clock::now()) {}
    double seconds() const { return std::chrono::duration<double>(Clock::now() - m_start).count(); }

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_start;
};

} // namespace bench
