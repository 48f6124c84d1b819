#include "platform/files/FileError.h"

#include "platform/files/FileNames.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

namespace {

FileCause causeOf(int osError) {
    switch (osError) {
    case 0:
        return FileCause::none;
    case ENOENT:
    case EBADF:
        return FileCause::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return FileCause::badPath;
    case EMFILE:
    case ENFILE:
        return FileCause::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return FileCause::accessDenied;
    case EMLINK:
        return FileCause::directoryFull;
    case ESPIPE:
    case EOVERFLOW:
        return FileCause::badSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case EREMOTEIO:
        return FileCause::hardIO;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY:
        return FileCause::sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return FileCause::lockViolation;
    case ENOSPC:
    case EDQUOT:
        return FileCause::diskFull;
    default:
        return FileCause::generic;
    }
}

bool isDirectory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

FileError FileError::of(int osError) {
    return {causeOf(osError), osError};
}

// Asked only once the request has failed, of the path it was made for.
FileError FileError::ofName(int osError, const std::string& path) {
    if (osError == ENOENT && !isDirectory(FileNames::directoryOf(path)))
        return {FileCause::badPath, osError};
    return of(osError);
}

} // namespace platform
