#include "platform/files/PosixFile.h"

#include "platform/files/FileNames.h"
#include "platform/files/FileSystemKind.h"
#include "platform/files/Folder.h"
#include "platform/files/OpenFiles.h"
#include "platform/files/SharedFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

namespace platform {

namespace {

// The most one read() or write() call is asked to move; the kernel moves at most about 2 GiB.
constexpr std::uint64_t largestRequest = 1u << 30;

int accessFlags(PosixFile::Access access) {
    switch (access) {
    case PosixFile::Access::read:
        return O_RDONLY;
    case PosixFile::Access::write:
        return O_WRONLY;
    case PosixFile::Access::readWrite:
        break;
    }
    return O_RDWR;
}

// Closes what was opened and answers the failure: the errno saved before the close.
int failAndClose(int descriptor, int error) {
    ::close(descriptor);
    return error;
}

// Only regular files are written, and read besides them only block devices (a stick imaged into
// segments). Anything else is refused unopened: opening a serial port resets the board behind
// it, opening a watchdog arms it, and a pipe would wait for a writer for ever.
int refusal(const struct stat& status, bool writing) {
    if (S_ISREG(status.st_mode))
        return 0;
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    return S_ISBLK(status.st_mode) && !writing ? 0 : EACCES;
}

bool sameFile(const struct stat& named, const struct stat& opened) {
    return named.st_dev == opened.st_dev && named.st_ino == opened.st_ino &&
           (named.st_mode & S_IFMT) == (opened.st_mode & S_IFMT);
}

// Looks at what stands under the name (named, when anything does) before it is opened.
int refusalBeforeOpening(const std::string& path, bool create, bool writing,
                         const std::optional<struct stat>& named) {
    if (named) {
        if (const int refused = refusal(*named, writing); refused != 0)
            return refused;
    }
    const bool onDeviceNodes =
        create && FileSystemKind::holdsDeviceNodes(named ? path : FileNames::directoryOf(path));
    return onDeviceNodes ? EACCES : 0;
}

// Whether the open file lies on one of the kernel's pseudo file systems.
bool onPseudoSystem(int descriptor, const struct stat& status, const Folder* folder) {
    if (folder != nullptr && folder->holdsFilesOf(status.st_dev))
        return folder->pseudo();
    // The kernel's pseudo file systems have no device behind them: a file on a disk, a stick or
    // an image needs no further look.
    return major(status.st_dev) == 0 && FileSystemKind::isPseudo(descriptor);
}

// What was opened must be what was looked at, before anything is emptied or written.
int refusalOfOpened(int descriptor, const std::optional<struct stat>& named, bool writing,
                    const Folder* folder, struct stat& status) {
    if (fstat(descriptor, &status) != 0)
        return errno;
    if (named && !sameFile(*named, status))
        return PosixFile::changedMeanwhile;
    if (const int refused = refusal(status, writing); refused != 0)
        return refused;
    return onPseudoSystem(descriptor, status, folder) ? EACCES : 0;
}

int openFlags(PosixFile::Access access, bool create) {
    int flags = accessFlags(access) | O_CLOEXEC | O_NOCTTY;
    if (create) {
        flags |= O_CREAT;
        if (access == PosixFile::Access::read)
            flags = (flags & ~O_ACCMODE) | O_RDWR; // emptying needs write access
    }
    return flags;
}

int openRetried(const std::string& path, int flags) {
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), flags, 0666);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// A file system without locks (or without flock) leaves every file unlocked; the identity
// checks still keep a file this process reads from being emptied.
bool withoutLocks(int error) {
    return error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS || error == EINVAL ||
           error == ENOLCK;
}

int tryLock(int descriptor, int operation) {
    while (flock(descriptor, operation | LOCK_NB) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// While drive A: is looked at, its names lead through a descriptor that the look lets go of; a
// file opened there keeps the path of the medium's directory that it was opened in.
std::string pathOpened(const std::string& name, const std::string& path) {
    return FileNames::onDriveA(name) ? FileNames::fullPath(FileNames::shownPath(name)) : path;
}

} // namespace

PosixFile::Opened PosixFile::open(const std::string& name, Access access, bool create,
                                  const Folder* folder) {
    auto path = FileNames::resolve(name);
    if (!path)
        return {noDescriptor, FileError::of(ENOMEDIUM), name, std::nullopt};
    Opened opened{noDescriptor, {}, {}, std::nullopt};
    if (const int error = openPath(*path, access, create, folder, opened); error != 0)
        return {noDescriptor, FileError::ofName(error, *path), std::move(*path), std::nullopt};
    opened.path = pathOpened(name, *path);
    return opened;
}

PosixFile::Opened PosixFile::createNew(const std::string& name) {
    auto path = FileNames::resolve(name);
    if (!path)
        return {noDescriptor, FileError::of(ENOMEDIUM), name, std::nullopt};
    const auto fail = [&](int error) {
        return Opened{noDescriptor, FileError::ofName(error, *path), *path, std::nullopt};
    };
    if (FileSystemKind::holdsDeviceNodes(FileNames::directoryOf(*path)))
        return fail(EACCES);
    int descriptor;
    do {
        descriptor =
            ::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return fail(errno);
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return fail(failAndClose(descriptor, errno));
    if (const int error = lock(descriptor, false); error != 0)
        return fail(failAndClose(descriptor, error));
    OpenFiles::add(descriptor, {status.st_dev, status.st_ino}, true);
    return {descriptor, {}, pathOpened(name, *path), std::nullopt};
}

// Opens what the name stands for as it was looked at, or answers that it changed in between.
int PosixFile::openPath(const std::string& path, Access access, bool create, const Folder* folder,
                        Opened& opened) {
    // In a folder looked at once, a free name takes a new file without a look of its own.
    // Anything else (a name taken, a failure) is looked at as ever, and so reported as ever.
    if (create && folder != nullptr && folder->takesNewFiles() &&
        createFree(path, access, *folder, opened) == 0)
        return 0;
    // Another user may swap the name between the look and the open; the next look sees what
    // they put there.
    constexpr int looks = 3;
    int error = changedMeanwhile;
    for (int look = 0; look < looks && error == changedMeanwhile; ++look)
        error = openLooked(path, access, create, folder, opened);
    return error == changedMeanwhile ? EBUSY : error;
}

// A file made here and now is no file that anyone holds, reads or has reserved, and is empty: what
// is left is its lock, and a look at its file system when that is not the folder's (its path has
// come to lead elsewhere since the folder was looked at). Fails when anything at all stands under
// the name, a link included.
int PosixFile::createFree(const std::string& path, Access access, const Folder& folder,
                          Opened& opened) {
    const int descriptor = openRetried(path, openFlags(access, true) | O_EXCL | O_NOFOLLOW);
    if (descriptor < 0)
        return errno;
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return failAndClose(descriptor, errno);
    if (!folder.holdsFilesOf(status.st_dev)) {
        if (FileSystemKind::holdsDeviceNodes(descriptor)) {
            ::unlink(path.c_str()); // nothing is left among the device nodes
            return failAndClose(descriptor, EACCES);
        }
        if (FileSystemKind::isPseudo(descriptor))
            return failAndClose(descriptor, EACCES);
    }
    if (const int error = lock(descriptor, false); error != 0)
        return failAndClose(descriptor, error);
    OpenFiles::add(descriptor, {status.st_dev, status.st_ino}, true);
    opened.descriptor = descriptor;
    return 0;
}

int PosixFile::openLooked(const std::string& path, Access access, bool create, const Folder* folder,
                          Opened& opened) {
    const bool writing = create || access != Access::read;
    // The file the open must reach: what stands under the name, or where an allowed link leads.
    std::optional<struct stat> named;
    // A name that was free is taken only while still free, and one that held no link is opened
    // only while it holds none: nothing put there meanwhile is followed or written.
    int guard = O_NOFOLLOW;
    if (struct stat entry{}; lstat(path.c_str(), &entry) == 0) {
        if (SharedFolder::forbids(path, entry, writing))
            return EACCES;
        if (S_ISLNK(entry.st_mode)) {
            guard = 0; // a link that leads nowhere yet is created where it points, as ever
            if (struct stat target{}; stat(path.c_str(), &target) == 0)
                named = target;
            else if (errno != ENOENT || !create)
                return errno;
        } else {
            named = entry;
        }
    } else if (errno != ENOENT || !create) {
        return errno;
    } else {
        guard = O_EXCL;
    }
    if (const int refused = refusalBeforeOpening(path, create, writing, named); refused != 0)
        return refused;
    // Non-blocking only while opening: a named pipe put under the name since it was looked at
    // would otherwise hold the program in open() for ever.
    const int flags = openFlags(access, create) | O_NONBLOCK | guard;
    const int descriptor = openRetried(path, flags);
    if (descriptor < 0) {
        const bool swapped =
            (guard == O_EXCL && errno == EEXIST) || (guard == O_NOFOLLOW && errno == ELOOP);
        return swapped ? changedMeanwhile : errno;
    }

    if (const int error = lock(descriptor, !writing); error != 0)
        return failAndClose(descriptor, error);
    // Measured once the lock is held, so no other instance can change the file in between.
    struct stat status {};
    if (const int refused = refusalOfOpened(descriptor, named, writing, folder, status);
        refused != 0)
        return failAndClose(descriptor, refused);
    // F_SETFL changes only the status flags, and of those the open set O_NONBLOCK alone.
    if (fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return failAndClose(descriptor, errno);
    const FileIdentity identity{status.st_dev, status.st_ino};
    if (writing ? OpenFiles::inUse(identity) : OpenFiles::heldForWriting(identity))
        return failAndClose(descriptor, EBUSY);
    // A file that is already empty is not truncated: on ext4 a truncate makes the later close
    // write the file out.
    if (create && status.st_size != 0 && ftruncate(descriptor, 0) != 0)
        return failAndClose(descriptor, errno);
    OpenFiles::add(descriptor, identity, writing);
    opened.descriptor = descriptor;
    if (!writing && S_ISREG(status.st_mode))
        opened.length = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

namespace {

// Calls step(done, most) until count bytes have moved, the file ends (a step of 0) or a step
// fails; a step interrupted by a signal is asked again.
template <typename Step> PosixFile::Transfer moveAll(std::uint64_t count, Step step) {
    std::uint64_t done = 0;
    while (done < count) {
        const ssize_t moved = step(done, std::min(count - done, largestRequest));
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return {done, FileError::of(errno)};
        if (moved == 0)
            break;
        done += static_cast<std::uint64_t>(moved);
    }
    return {done, {}};
}

} // namespace

PosixFile::Transfer PosixFile::read(int descriptor, void* buffer, std::uint64_t count) {
    auto* bytes = static_cast<char*>(buffer);
    return moveAll(count, [&](std::uint64_t done, std::uint64_t most) {
        return ::read(descriptor, bytes + done, most);
    });
}

PosixFile::Transfer PosixFile::write(int descriptor, const void* buffer, std::uint64_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    return moveAll(count, [&](std::uint64_t done, std::uint64_t most) {
        return ::write(descriptor, bytes + done, most);
    });
}

FileError PosixFile::close(int descriptor) {
    OpenFiles::remove(descriptor);
    // Linux releases the descriptor even when close() is interrupted; retrying could close a
    // descriptor that another part of the program has been given meanwhile.
    if (::close(descriptor) != 0 && errno != EINTR)
        return FileError::of(errno);
    return {};
}

PosixFile::Length PosixFile::length(int descriptor) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return {0, FileError::of(errno)};
    if (S_ISBLK(status.st_mode)) {
        std::uint64_t size = 0;
        if (ioctl(descriptor, BLKGETSIZE64, &size) != 0)
            return {0, FileError::of(errno)};
        return {size, {}};
    }
    return {static_cast<std::uint64_t>(status.st_size), {}};
}

FileError PosixFile::remove(const std::string& name) {
    const auto path = FileNames::resolve(name);
    if (!path)
        return FileError::of(ENOMEDIUM);
    if (const FileError refused = SharedFolder::refusal(name, true))
        return refused;
    return ::unlink(path->c_str()) == 0 ? FileError{} : FileError::ofName(errno, *path);
}

// Every failure counts: a medium that turns read-only after a failed write-back answers EROFS,
// and the bytes that did not reach it are gone.
FileError PosixFile::flush(int descriptor, const std::string& path) {
    if (fsync(descriptor) != 0)
        return FileError::of(errno);
    return FileError::of(syncDirectoryOf(path));
}

int PosixFile::lock(int descriptor, bool readOnly) {
    int error = tryLock(descriptor, LOCK_EX);
    // NFS emulates flock with byte-range locks, and an exclusive one needs a descriptor open for
    // writing. A shared lock still keeps another instance's writer out.
    if (error == EBADF && readOnly)
        error = tryLock(descriptor, LOCK_SH);
    return withoutLocks(error) ? 0 : error;
}

// The directory that holds the file's entry: behind a link, the one where the file really is.
// Some file systems cannot synchronise a directory (EINVAL); their entries need nothing more.
int PosixFile::syncDirectoryOf(const std::string& path) {
    char real[PATH_MAX];
    const std::string directory =
        FileNames::directoryOf(realpath(path.c_str(), real) != nullptr ? real : path);
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    int error = 0;
    if (fsync(descriptor) != 0 && errno != EINVAL)
        error = errno;
    ::close(descriptor);
    return error;
}

} // namespace platform
