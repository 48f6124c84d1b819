#include "platform/MountedMedium.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

namespace test {

MountedMedium::MountedMedium(const std::string& parent, const Recipe& recipe) {
    std::string pattern = parent + "/medium-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        m_failure = "cannot make a mount point: " + std::string(std::strerror(errno));
        return;
    }
    m_path = pattern;
    if (recipe.fileSystem == "tmpfs") {
        if (mount("tmpfs", m_path.c_str(), "tmpfs", 0, recipe.options.c_str()) != 0) {
            m_failure =
                "mounting a tmpfs is not permitted here: " + std::string(std::strerror(errno));
            return;
        }
        m_mounted = true;
        return;
    }
    std::string image;
    if (!makeImage(recipe, image))
        return;
    const auto mountTool = findTool("mount");
    std::string options = "loop";
    if (!recipe.options.empty())
        options += "," + recipe.options;
    if (!mountTool ||
        run({*mountTool, "-t", recipe.fileSystem, "-o", options, image, m_path}) != 0) {
        m_failure = "mounting a " + recipe.fileSystem +
                    " image is not possible here (no privilege, loop device or driver)";
        return;
    }
    m_mounted = true;
}

MountedMedium::~MountedMedium() {
    if (m_mounted && umount2(m_path.c_str(), 0) != 0)
        umount2(m_path.c_str(), MNT_DETACH);
    if (!m_path.empty())
        rmdir(m_path.c_str());
}

bool MountedMedium::makeImage(const Recipe& recipe, std::string& image) {
    if (recipe.format.empty() || !findTool(recipe.format.front())) {
        m_failure = (recipe.format.empty() ? std::string("a format tool") : recipe.format.front()) +
                    " is not installed";
        return false;
    }
    image = m_path + ".img";
    const int descriptor = open(image.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const bool sized =
        descriptor >= 0 && ftruncate(descriptor, static_cast<off_t>(recipe.imageBytes)) == 0;
    if (descriptor >= 0)
        close(descriptor);
    std::vector<std::string> format = recipe.format;
    format.front() = *findTool(format.front());
    format.push_back(image);
    if (!sized || run(format) != 0) {
        m_failure = "cannot format a " + recipe.fileSystem + " image";
        return false;
    }
    return true;
}

std::optional<std::string> MountedMedium::findTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream directories(std::string(path != nullptr ? path : "") +
                                   ":/usr/sbin:/sbin:/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = directory + "/" + name;
        if (!directory.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

int MountedMedium::run(const std::vector<std::string>& command, int timeoutSeconds) {
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        std::vector<char*> arguments;
        for (const auto& argument : command)
            arguments.push_back(const_cast<char*>(argument.c_str()));
        arguments.push_back(nullptr);
        execv(arguments.front(), arguments.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace test
