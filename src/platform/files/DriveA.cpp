#include "platform/files/DriveA.h"

#include "platform/files/FileSystemLimits.h"
#include "platform/files/RemovableMedium.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace platform {

namespace {

constexpr const char* driveVariable = "SUNDREL_DRIVE_A";

std::optional<std::string> realDirectory(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat status {};
    if (realpath(path.c_str(), resolved) == nullptr || stat(resolved, &status) != 0 ||
        !S_ISDIR(status.st_mode))
        return std::nullopt;
    return std::string(resolved);
}

// The look held by DriveA::Look: the medium's directory, open (-1 when the drive was
// empty), and the type of its file system. Names on the drive are reached through the
// descriptor's entry in /proc/self/fd, so they lead into the medium that was looked at whatever
// is mounted at its mount point now.
struct HeldLook {
    int descriptor = -1;
    std::string directory; // as it was named when looked at
    std::string fileSystem;
};

std::mutex lookGuard;
std::optional<HeldLook> heldLook;

std::optional<HeldLook> currentLook() {
    const std::lock_guard lock(lookGuard);
    return heldLook;
}

std::string throughDescriptor(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

} // namespace

DriveA::Look::~Look() {
    release();
}

void DriveA::Look::take() {
    release();
    HeldLook look;
    if (const auto medium = find()) {
        look.descriptor = open(medium->directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        look.directory = medium->directory;
        look.fileSystem = medium->fileSystem;
    }
    const std::lock_guard lock(lookGuard);
    heldLook = look;
    m_held = true;
}

void DriveA::Look::release() {
    if (!m_held)
        return;
    const std::lock_guard lock(lookGuard);
    if (heldLook && heldLook->descriptor >= 0)
        close(heldLook->descriptor);
    heldLook.reset();
    m_held = false;
}

std::optional<std::string> DriveA::directory() {
    if (const auto look = currentLook()) {
        if (look->descriptor < 0)
            return std::nullopt;
        return throughDescriptor(look->descriptor);
    }
    const auto medium = find();
    return medium ? std::optional(medium->directory) : std::nullopt;
}

std::optional<std::string> DriveA::directoryName() {
    if (const auto look = currentLook()) {
        if (look->descriptor < 0)
            return std::nullopt;
        return look->directory;
    }
    return directory();
}

std::optional<DriveA::Medium> DriveA::find() {
    const char* named = std::getenv(driveVariable);
    if (named != nullptr && *named != '\0')
        return namedDirectory(named);
    const auto mounts = MountTable::current();
    const auto point = mostRecentMedium(mounts);
    const auto directory = point ? realDirectory(*point) : std::nullopt;
    if (!directory)
        return std::nullopt;
    const auto mount = std::find_if(mounts.rbegin(), mounts.rend(), [&](const auto& candidate) {
        return candidate.mountPoint == *point;
    });
    return Medium{*directory, mount->fileSystem};
}

// Mount points that hold a directory are its ancestors, so the longer of two lies deeper.
std::optional<DriveA::Medium> DriveA::namedDirectory(const std::string& named) {
    const auto directory = realDirectory(named);
    if (!directory)
        return std::nullopt;
    const auto mount = MountTable::holding(*directory);
    if (!mount)
        return std::nullopt;
    static std::mutex guard;
    static std::map<std::string, std::string> deepestMountPoints;
    const std::lock_guard lock(guard);
    std::string& deepest = deepestMountPoints[*directory];
    if (mount->mountPoint.size() < deepest.size())
        return std::nullopt; // its medium went: the directory now lies on the file system below
    deepest = mount->mountPoint;
    return Medium{*directory, mount->fileSystem};
}

std::optional<std::uint64_t> DriveA::freeSpace() {
    struct statvfs space {};
    std::string fileSystem;
    if (const auto look = currentLook()) {
        if (look->descriptor < 0 || fstatvfs(look->descriptor, &space) != 0)
            return std::nullopt;
        fileSystem = look->fileSystem;
    } else {
        const auto medium = find();
        if (!medium || statvfs(medium->directory.c_str(), &space) != 0)
            return std::nullopt;
        fileSystem = medium->fileSystem;
    }
    return FileSystemLimits::largestNewFile(fileSystem, space.f_bavail, space.f_frsize);
}

std::optional<std::string> DriveA::mostRecentMedium(const std::vector<MountTable::Mount>& mounts,
                                                    const std::string& sysRoot) {
    for (auto mount = mounts.rbegin(); mount != mounts.rend(); ++mount) {
        if (RemovableMedium::isRemovable(*mount, sysRoot))
            return mount->mountPoint;
    }
    return std::nullopt;
}

} // namespace platform
