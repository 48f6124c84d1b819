#include "operations/JoinHeldFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

namespace {

constexpr int readyWithinMs = 10000;

// In the child: only calls that are safe after a fork in a threaded process.
[[noreturn]] void holdUntilReleased(const char* path, int ready, int release) {
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    const char answer = descriptor >= 0 && flock(descriptor, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
    if (write(ready, &answer, 1) != 1 || answer != 'y')
        _exit(1);
    char ignored;
    while (read(release, &ignored, 1) > 0) {
    }
    _exit(0);
}

} // namespace

JoinHeldFile::JoinHeldFile(const std::string& path) {
    int ready[2];
    int release[2];
    if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(release, O_CLOEXEC) != 0) {
        m_failure = "no pipe";
        return;
    }
    m_child = fork();
    if (m_child == 0) {
        close(ready[0]);
        close(release[1]);
        holdUntilReleased(path.c_str(), ready[1], release[0]);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char answer = 0;
    pollfd wait{ready[0], POLLIN, 0};
    if (m_child < 0)
        m_failure = "cannot fork";
    else if (poll(&wait, 1, readyWithinMs) != 1)
        m_failure = "the other process did not answer within the bound";
    else if (read(ready[0], &answer, 1) != 1 || answer != 'y')
        m_failure = "the other process could not lock " + path;
    close(ready[0]);
}

JoinHeldFile::~JoinHeldFile() {
    if (m_release >= 0)
        close(m_release);
    if (m_child > 0) {
        if (!m_failure.empty())
            kill(m_child, SIGKILL);
        waitpid(m_child, nullptr, 0);
    }
}

} // namespace test
