#include "platform/files/RemovableMedium.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace platform {

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool flagFileSaysYes(const std::filesystem::path& file) {
    std::ifstream in(file);
    char flag = '0';
    return in >> flag && flag == '1';
}

// The id of the mount that holds the open file, as /proc/self/mountinfo numbers its lines. Older
// kernels without statx's mount id give it in the descriptor's fdinfo.
std::optional<std::uint64_t> mountIdOf(int descriptor) {
    struct statx status {};
    if (statx(descriptor, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_MNT_ID, &status) == 0 &&
        (status.stx_mask & STATX_MNT_ID) != 0)
        return status.stx_mnt_id;
    std::ifstream info("/proc/self/fdinfo/" + std::to_string(descriptor));
    std::string key;
    std::uint64_t value = 0;
    while (info >> key >> value) {
        if (key == "mnt_id:")
            return value;
    }
    return std::nullopt;
}

} // namespace

bool RemovableMedium::isRemovable(const MountTable::Mount& mount, const std::string& sysRoot) {
    return startsWith(mount.mountPoint, "/media/") || startsWith(mount.mountPoint, "/run/media/") ||
           removableDevice(mount.device, sysRoot);
}

bool RemovableMedium::holds(int descriptor) {
    const auto id = mountIdOf(descriptor);
    if (!id)
        return false;
    const auto mount = MountTable::currentWithId(static_cast<int>(*id));
    return mount && isRemovable(*mount);
}

// /sys/dev/block/<major:minor> leads to the device's own directory; a partition's disk is its
// parent directory, and only the disk says whether its medium is removable.
bool RemovableMedium::removableDevice(const std::string& device, const std::string& sysRoot) {
    if (device.empty() || startsWith(device, "0:"))
        return false; // no block device behind it (tmpfs, proc, ...)
    std::error_code error;
    const auto node = std::filesystem::canonical(sysRoot + "/dev/block/" + device, error);
    if (error)
        return false;
    return flagFileSaysYes(node / "removable") || flagFileSaysYes(node.parent_path() / "removable");
}

} // namespace platform
