#include "support/RivalTool.h"

#include "support/Stopwatch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

extern char** environ;

namespace bench {

RivalTool::RivalTool(std::string name, std::vector<std::string> arguments)
    : m_name(std::move(name)), m_arguments(std::move(arguments)) {}

RivalTool& RivalTool::writingTo(std::string path) {
    m_output = std::move(path);
    return *this;
}

double RivalTool::timed() const {
    std::vector<char*> arguments;
    for (const std::string& argument : m_arguments)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!m_output.empty())
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const Stopwatch stopwatch;
    pid_t child = 0;
    const int started =
        posix_spawnp(&child, arguments.front(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        throw std::runtime_error("cannot start " + m_name);
    int status = 0;
    waitpid(child, &status, 0);
    const double elapsed = stopwatch.seconds();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(m_name + " failed");
    return elapsed;
}

} // namespace bench
