#pragma once

#include <string>
#include <thread>

namespace platform {

// Removes what killed operations left in a folder (WorkFiles::sweep()) on a thread of its own,
// beside the operation that has just begun there: a folder of a hundred thousand segments takes
// a noticeable time to list, which the operation need not wait for. The sweep never takes a work
// file that is held, the operation's own included. It has ended once the object is gone.
class WorkFileSweep final {
  public:
    explicit WorkFileSweep(const std::string& path);
    ~WorkFileSweep();
    WorkFileSweep(const WorkFileSweep&) = delete;
    WorkFileSweep& operator=(const WorkFileSweep&) = delete;

  private:
    std::thread m_thread;
};

} // namespace platform
