#include "platform/gui/Process.h"

#include <climits>
#include <csignal>
#include <unistd.h>

namespace platform {

namespace {

unsigned& recordedMode() {
    static unsigned mode = 0;
    return mode;
}

void ignoreSignal(int) {}

} // namespace

std::string Process::programFilePath() {
    std::string path(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

unsigned Process::setErrorMode(unsigned mode) {
    const unsigned previous = recordedMode();
    recordedMode() = mode;
    return previous;
}

unsigned Process::errorMode() {
    return recordedMode();
}

void Process::failWritesPastFileSizeLimit() {
    struct sigaction action {};
    action.sa_handler = ignoreSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGXFSZ, &action, nullptr);
}

} // namespace platform
