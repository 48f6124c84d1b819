#include "platform/files/FileEntries.h"

#include "platform/files/FileNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

FileError FileEntries::removeOwn(const std::string& name) {
    const auto path = FileNames::resolve(name);
    if (!path)
        return FileError::of(ENOMEDIUM);
    struct stat status {};
    if (lstat(path->c_str(), &status) != 0)
        return errno == ENOENT ? FileError{} : FileError::ofName(errno, *path);
    const bool fileOrLink = S_ISREG(status.st_mode) || S_ISLNK(status.st_mode);
    if (!fileOrLink || status.st_uid != geteuid())
        return FileError::of(EACCES);
    if (unlink(path->c_str()) != 0 && errno != ENOENT)
        return FileError::ofName(errno, *path);
    return {};
}

namespace {

// Where the file system cannot rename without replacing, a second link that fails on a taken
// name does it; where it has no links either (FAT), a look first is the best there is.
int renameWithoutReplacing(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (link(from, to) == 0)
        return unlink(from) == 0 ? 0 : errno;
    if (errno == EEXIST)
        return errno;
    struct stat status {};
    if (lstat(to, &status) == 0)
        return EEXIST;
    return ::rename(from, to) == 0 ? 0 : errno;
}

int syncFolder(const std::string& path) {
    const int folder =
        ::open(FileNames::directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return errno;
    const int error = fsync(folder) != 0 && errno != EINVAL ? errno : 0;
    ::close(folder);
    return error;
}

} // namespace

FileError FileEntries::rename(const std::string& from, const std::string& to, bool replace,
                              bool flush) {
    const auto source = FileNames::resolve(from), target = FileNames::resolve(to);
    if (!source || !target)
        return FileError::of(ENOMEDIUM);
    const int error = replace ? (::rename(source->c_str(), target->c_str()) == 0 ? 0 : errno)
                              : renameWithoutReplacing(source->c_str(), target->c_str());
    if (error != 0)
        return FileError::ofName(error, *target);
    return flush ? FileError::of(syncFolder(*target)) : FileError{};
}

bool FileEntries::nameTaken(const FileError& error) {
    return error.osError == EEXIST;
}

} // namespace platform
