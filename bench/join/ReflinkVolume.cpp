#include "ReflinkVolume.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

extern char** environ;

namespace bench {

namespace {

// Runs a command quietly; true when it exits with 0.
bool succeeds(std::vector<std::string> command) {
    std::vector<char*> arguments;
    for (std::string& argument : command)
        arguments.push_back(argument.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started =
        posix_spawnp(&child, arguments.front(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

std::optional<ReflinkVolume> ReflinkVolume::make(const std::string& folder, std::string& why) {
    if (geteuid() != 0) {
        why = "mounting an image needs root";
        return std::nullopt;
    }
    const std::string image = folder + "/xfs.img", root = folder + "/xfs";
    std::filesystem::create_directory(root);
    // Sparse: the copies share one set of blocks, and the joined files share them too.
    if (!succeeds({"truncate", "-s", "4G", image}) ||
        !succeeds({"mkfs.xfs", "-q", "-m", "reflink=1", image})) {
        why = "mkfs.xfs -m reflink=1 failed (is xfsprogs installed?)";
        return std::nullopt;
    }
    if (!succeeds({"mount", "-o", "loop", image, root})) {
        why = "the machine does not loop-mount an image";
        return std::nullopt;
    }
    return ReflinkVolume(root);
}

ReflinkVolume::ReflinkVolume(ReflinkVolume&& other) noexcept : m_root(std::move(other.m_root)) {
    other.m_root.clear();
}

ReflinkVolume::~ReflinkVolume() {
    if (!m_root.empty())
        succeeds({"umount", m_root});
}

} // namespace bench
