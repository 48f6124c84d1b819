#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test {

// A file system mounted for one test on a fresh directory below parent: a tmpfs, or an image
// file formatted with a mkfs tool and mounted through a loop device. Unmounted (lazily if it is
// busy) and its directory removed when the object goes. Check mounted() first: mounting needs a
// privilege and the tool and the kernel driver may be missing.
class MountedMedium final {
  public:
    struct Recipe {
        std::string fileSystem;          // "tmpfs", or the type of the image's file system
        std::string options;             // mount options
        std::uint64_t imageBytes = 0;    // size of the image file (not for tmpfs)
        std::vector<std::string> format; // the mkfs command, the image's path is appended
    };

    MountedMedium(const std::string& parent, const Recipe& recipe);
    ~MountedMedium();
    MountedMedium(const MountedMedium&) = delete;
    MountedMedium& operator=(const MountedMedium&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& failure() const { return m_failure; }
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // The full path of a system tool, looked up in PATH and the system directories.
    static std::optional<std::string> findTool(const std::string& name);
    // Runs a command with its output discarded; its exit status, or -1 when it did not end in
    // time (it is then killed).
    static int run(const std::vector<std::string>& command, int timeoutSeconds = 60);

  private:
    bool makeImage(const Recipe& recipe, std::string& image);

    std::string m_path;
    std::string m_failure;
    bool m_mounted = false;
};

} // namespace test
