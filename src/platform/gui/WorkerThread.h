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
    // from within that wait, job runs on this thread. beforeEachPump, when given, runs on this
    // thread before each round of events, so that what the job has done so far can be shown.
    static void runWhilePumping(const std::function<void()>& job,
                                const std::function<void()>& beforeEachPump = {});
};

} // namespace platform
