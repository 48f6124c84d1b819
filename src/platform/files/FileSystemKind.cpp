#include "platform/files/FileSystemKind.h"

#include "platform/files/MountTable.h"

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>

#include <algorithm>

namespace platform {

bool FileSystemKind::isPseudo(int descriptor) {
    struct statfs status {};
    if (fstatfs(descriptor, &status) != 0)
        return false;
    constexpr unsigned long configfsMagic = 0x62656570; // not in <linux/magic.h>
    constexpr unsigned long pseudo[] = {
        PROC_SUPER_MAGIC,   SYSFS_MAGIC,         DEBUGFS_MAGIC, TRACEFS_MAGIC,  SECURITYFS_MAGIC,
        CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC, BPF_FS_MAGIC,  PSTOREFS_MAGIC, EFIVARFS_MAGIC,
        configfsMagic,      SELINUX_MAGIC,       SMACK_MAGIC,   BINFMTFS_MAGIC,
    };
    const auto type = static_cast<unsigned long>(status.f_type);
    return std::ranges::count(pseudo, type) != 0;
}

namespace {

// devtmpfs reports the magic number of tmpfs (or of ramfs): only the mount table tells them apart.
bool deviceNodesOn(const struct statfs& system, const struct stat& status) {
    if (system.f_type != TMPFS_MAGIC && system.f_type != RAMFS_MAGIC)
        return false;
    const std::string number =
        std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));
    return MountTable::anyCurrent([&](const MountTable::Mount& mount) {
        return mount.device == number && mount.fileSystem == "devtmpfs";
    });
}

} // namespace

bool FileSystemKind::holdsDeviceNodes(const std::string& path) {
    struct statfs system {};
    struct stat status {};
    return statfs(path.c_str(), &system) == 0 && stat(path.c_str(), &status) == 0 &&
           deviceNodesOn(system, status);
}

bool FileSystemKind::holdsDeviceNodes(int descriptor) {
    struct statfs system {};
    struct stat status {};
    return fstatfs(descriptor, &system) == 0 && fstat(descriptor, &status) == 0 &&
           deviceNodesOn(system, status);
}

} // namespace platform
