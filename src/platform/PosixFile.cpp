#include "platform/PosixFile.h"

#include "platform/FileNames.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {

// Measured once the lock is held, so no other instance can grow the file in between. A file that
// is already empty is not truncated: on ext4 a truncate makes the later close write the file out.
bool emptyAfterLock(int descriptor) {
    struct stat status {};
    return fstat(descriptor, &status) == 0 && status.st_size == 0;
}

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

PosixFile::Opened failAndClose(int descriptor, int error) {
    ::close(descriptor);
    return {PosixFile::noDescriptor, error};
}

// A file system that cannot synchronise a file of that kind has nothing to bring to the medium.
bool syncUnsupported(int error) {
    return error == EINVAL || error == EROFS;
}

} // namespace

PosixFile::Opened PosixFile::open(const std::string& name, Access access, bool create) {
    const auto path = FileNames::resolve(name);
    if (!path)
        return {noDescriptor, ENOMEDIUM};
    // Non-blocking only while opening: a named pipe with nobody at the other end would otherwise
    // hold the program in open() for ever. Pipes and sockets are then refused below.
    int flags = accessFlags(access) | O_CLOEXEC | O_NONBLOCK;
    if (create) {
        flags |= O_CREAT;
        if (access == Access::read)
            flags = (flags & ~O_ACCMODE) | O_RDWR; // emptying needs write access
    }
    int descriptor;
    do {
        descriptor = ::open(path->c_str(), flags, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return {noDescriptor, errno};

    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return failAndClose(descriptor, errno);
    if (S_ISDIR(status.st_mode))
        return failAndClose(descriptor, EISDIR);
    if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
        return failAndClose(descriptor, EACCES);
    if (fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        return failAndClose(descriptor, errno);
    if (const int error = lock(descriptor); error != 0)
        return failAndClose(descriptor, error);
    if (create && S_ISREG(status.st_mode) && !emptyAfterLock(descriptor)) {
        if (ftruncate(descriptor, 0) != 0)
            return failAndClose(descriptor, errno);
    }
    return {descriptor, 0};
}

PosixFile::Transfer PosixFile::read(int descriptor, void* buffer, std::uint64_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::uint64_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::read(descriptor, bytes + done, std::min(count - done, largestRequest));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {done, errno};
        if (got == 0)
            break;
        done += static_cast<std::uint64_t>(got);
    }
    return {done, 0};
}

PosixFile::Transfer PosixFile::write(int descriptor, const void* buffer, std::uint64_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::uint64_t done = 0;
    while (done < count) {
        const ssize_t put =
            ::write(descriptor, bytes + done, std::min(count - done, largestRequest));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return {done, errno};
        if (put == 0)
            break;
        done += static_cast<std::uint64_t>(put);
    }
    return {done, 0};
}

int PosixFile::close(int descriptor) {
    // Linux releases the descriptor even when close() is interrupted; retrying could close a
    // descriptor that another part of the program has been given meanwhile.
    if (::close(descriptor) != 0 && errno != EINTR)
        return errno;
    return 0;
}

PosixFile::Length PosixFile::length(int descriptor) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return {0, errno};
    return {static_cast<std::uint64_t>(status.st_size), 0};
}

int PosixFile::flush(int descriptor, const std::string& path) {
    if (fsync(descriptor) != 0 && !syncUnsupported(errno))
        return errno;
    return syncDirectoryOf(path);
}

int PosixFile::lock(int descriptor) {
    while (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

int PosixFile::syncDirectoryOf(const std::string& path) {
    const std::string directory = FileNames::directoryOf(FileNames::resolve(path).value_or(path));
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    int error = 0;
    if (fsync(descriptor) != 0 && !syncUnsupported(errno))
        error = errno;
    ::close(descriptor);
    return error;
}

} // namespace platform
