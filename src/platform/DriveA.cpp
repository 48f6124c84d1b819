#include "platform/DriveA.h"

#include "platform/FileSystemLimits.h"
#include "platform/RemovableMedium.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

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

} // namespace

std::optional<std::string> DriveA::directory() {
    const char* named = std::getenv(driveVariable);
    if (named != nullptr && *named != '\0')
        return namedDirectory(named);
    const auto medium = mostRecentMedium(MountTable::current());
    return medium ? realDirectory(*medium) : std::nullopt;
}

// Mount points that hold a directory are its ancestors, so the longer of two lies deeper.
std::optional<std::string> DriveA::namedDirectory(const std::string& named) {
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
    return directory;
}

std::optional<std::uint64_t> DriveA::freeSpace() {
    const auto root = directory();
    if (!root)
        return std::nullopt;
    const auto mount = MountTable::holding(*root);
    struct statvfs space {};
    if (!mount || statvfs(root->c_str(), &space) != 0)
        return std::nullopt;
    return FileSystemLimits::largestNewFile(mount->fileSystem, space.f_bavail, space.f_frsize);
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
