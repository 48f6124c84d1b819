#pragma once

#include <functional>

namespace platform {

// One thread, kept for the life of the process, for file work that can block for as long as a
// medium takes (a stalled USB stick blocks every call that touches it).
class WorkerThread final {
  public:
    // Runs job on the worker and returns when it has finished. Meanwhile this thread lets windows
    // repaint, timers run and the window manager be answered, while keyboard and mouse input
    // waits. An exception that leaves job is raised here. Without a GUI, or when called again
    // from within that wait, job runs on this thread.
    static void runWhilePumping(const std::function<void()>& job);
};

} // namespace platform
