#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace test {

// Runs a piece of a test in a child process (to drop privileges or limit file sizes without
// touching the test process) and brings back the text it returns (up to 64 KiB, what a pipe
// holds), or nothing when the child died or outlived the bound (it is then killed).
class ForkedChild final {
  public:
    static std::optional<std::string> run(const std::function<std::string()>& body,
                                          int timeoutSeconds = 60) {
        int channel[2];
        if (pipe(channel) != 0)
            return std::nullopt;
        const pid_t child = fork();
        if (child == 0) {
            const std::string text = body();
            _exit(write(channel[1], text.data(), text.size()) == ssize_t(text.size()) ? 0 : 2);
        }
        close(channel[1]);
        int status = 0;
        for (int waited = 0; child > 0 && waitpid(child, &status, WNOHANG) == 0; waited += 10) {
            if (waited > timeoutSeconds * 1000)
                kill(child, SIGKILL); // reaped by the next wait, as a failure
            usleep(10000);
        }
        char text[1 << 16];
        const ssize_t got = read(channel[0], text, sizeof text);
        close(channel[0]);
        if (child < 0 || got < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return std::nullopt;
        return std::string(text, static_cast<std::size_t>(got));
    }
};

} // namespace test
