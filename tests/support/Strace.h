#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace test {

// Traces this process, every thread of it, with strace while the object lives, to make system
// calls fail or stall where nothing else provokes the fault (options such as "-e",
// "inject=fsync:error=EIO"). Check attached() first: tracing needs strace and the right to trace.
class Strace final {
  public:
    // The trace itself goes to log.
    explicit Strace(const std::vector<std::string>& options, const std::string& log = "/dev/null") {
        std::vector<std::string> words = {"strace",         "-f", "-qq", "-o", log, "-e",
                                          "inject=" + probe};
        words.insert(words.end(), options.begin(), options.end());
        words.insert(words.end(), {"-p", std::to_string(getpid())});
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY);
        m_pid = fork();
        if (m_pid == 0) {
            execvp("strace", argv.data());
            _exit(127);
        }
        // The probe fails once strace injects: it attaches every thread before it starts.
        for (int waited = 0; m_pid > 0 && !m_attached && waited < 2000; ++waited) {
            m_attached = getpgid(0) == -1;
            if (!m_attached && waitpid(m_pid, nullptr, WNOHANG) == m_pid)
                m_pid = -1; // strace is missing, or may not trace
            else if (!m_attached)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // strace lets the process go when it is told to end.
    ~Strace() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    Strace(const Strace&) = delete;
    Strace& operator=(const Strace&) = delete;

    bool attached() const { return m_attached; }

  private:
    static inline const std::string probe = "getpgid:error=ESRCH";
    pid_t m_pid = -1;
    bool m_attached = false;
};

} // namespace test
