#include "platform/files/SharedFolder.h"

#include "platform/files/FileNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Sticky, and writable by others than its owner: the world, or a group (as the kernel's
// protected_regular=2 counts it).
bool othersMayPlantIn(const struct stat& folder) {
    return S_ISDIR(folder.st_mode) && (folder.st_mode & S_ISVTX) != 0 &&
           (folder.st_mode & (S_IWOTH | S_IWGRP)) != 0;
}

bool stranger(uid_t owner, const struct stat& folder) {
    return owner != geteuid() && owner != folder.st_uid;
}

} // namespace

bool SharedFolder::forbids(const std::string& path, const struct stat& entry, bool writing) {
    const bool link = S_ISLNK(entry.st_mode);
    if (!link && !(writing && S_ISREG(entry.st_mode)))
        return false;
    struct stat folder {};
    if (stat(FileNames::directoryOf(path).c_str(), &folder) != 0 || !othersMayPlantIn(folder))
        return false;
    return stranger(entry.st_uid, folder);
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
