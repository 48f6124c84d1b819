#include "support/ForkedChild.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace test {

std::optional<std::string> ForkedChild::run(const std::function<std::string()>& body,
                                            int timeoutSeconds) {
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        close(channel[0]);
        const std::string text = body();
        std::size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t put = write(channel[1], text.data() + sent, text.size() - sent);
            if (put <= 0)
                _exit(2);
            sent += static_cast<std::size_t>(put);
        }
        _exit(0);
    }
    close(channel[1]);
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool finished = false;
    while (!finished && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{channel[0], POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            finished = true;
        else
            text.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    if (!finished)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0); // the pipe closed or the child was killed: it is ending now
    if (!finished || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

} // namespace test
