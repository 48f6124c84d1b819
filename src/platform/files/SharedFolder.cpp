#include "platform/files/SharedFolder.h"

#include "platform/files/FileNames.h"
#include "platform/files/Folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

bool stranger(uid_t owner, uid_t folderOwner) {
    return owner != geteuid() && owner != folderOwner;
}

// Only links, and regular files about to be written, are kept away from.
bool concerns(const struct stat& entry, bool writing) {
    return S_ISLNK(entry.st_mode) || (writing && S_ISREG(entry.st_mode));
}

} // namespace

// Sticky, and writable by others than its owner: the world, or a group (as the kernel's
// protected_regular=2 counts it).
bool SharedFolder::othersMayPlantIn(const struct stat& folder) {
    return S_ISDIR(folder.st_mode) && (folder.st_mode & S_ISVTX) != 0 &&
           (folder.st_mode & (S_IWOTH | S_IWGRP)) != 0;
}

bool SharedFolder::forbids(const std::string& path, const struct stat& entry, bool writing) {
    if (!concerns(entry, writing))
        return false;
    struct stat folder {};
    if (stat(FileNames::directoryOf(path).c_str(), &folder) != 0 || !othersMayPlantIn(folder))
        return false;
    return stranger(entry.st_uid, folder.st_uid);
}

bool SharedFolder::forbids(const Folder& folder, const struct stat& entry, bool writing) {
    return concerns(entry, writing) && folder.shared() && stranger(entry.st_uid, folder.owner());
}

FileError SharedFolder::refusal(const std::string& name, bool writing) {
    const auto path = FileNames::resolve(name);
    struct stat entry {};
    if (!path || lstat(path->c_str(), &entry) != 0 || !forbids(*path, entry, writing))
        return {};
    return FileError::of(EACCES);
}

bool SharedFolder::holds(const std::string& name) {
    const auto path = FileNames::resolve(name);
    struct stat folder {};
    return path && stat(FileNames::directoryOf(*path).c_str(), &folder) == 0 &&
           othersMayPlantIn(folder);
}

} // namespace platform
