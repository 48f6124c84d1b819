#include "platform/files/WorkFiles.h"

#include "platform/files/FileNames.h"
#include "platform/files/OpenFiles.h"
#include "platform/files/PathParts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace platform {

namespace {

constexpr const char prefix[] = ".sundrel-";
constexpr const char suffix[] = ".part";
constexpr std::size_t randomPart = 8;
constexpr const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";

std::string randomName() {
    static std::random_device seed;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    std::string name = prefix;
    for (std::size_t k = 0; k < randomPart; ++k)
        name += alphabet[pick(seed)];
    return name + suffix;
}

std::string folderOf(const std::string& name) {
    return FileNames::directoryOf(FileNames::resolve(name).value_or(name));
}

bool isRandomPart(const std::string& part) {
    for (const char c : part) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return part.size() == randomPart;
}

// Taken while nobody holds it: a descriptor open for reading takes a shared lock where the file
// system refuses an exclusive one (NFS), and either fails while a writer holds its own.
bool lockedByNobody(int descriptor) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        return true;
    return errno == EBADF && flock(descriptor, LOCK_SH | LOCK_NB) == 0;
}

void removeIfLeft(const std::string& path) {
    struct stat entry {};
    if (lstat(path.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode) || entry.st_uid != geteuid())
        return;
    const int descriptor =
        ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    struct stat opened {};
    const bool same = fstat(descriptor, &opened) == 0 && opened.st_dev == entry.st_dev &&
                      opened.st_ino == entry.st_ino;
    // Where locks are kept per process (NFS), this process's own work files look unlocked.
    if (same && !OpenFiles::inUse({opened.st_dev, opened.st_ino}) && lockedByNobody(descriptor)) {
        struct stat still {};
        if (lstat(path.c_str(), &still) == 0 && still.st_ino == opened.st_ino &&
            still.st_dev == opened.st_dev)
            unlink(path.c_str());
    }
    ::close(descriptor);
}

} // namespace

PosixFile::Opened WorkFiles::create(const std::string& path) {
    const std::string folder = folderOf(path);
    PosixFile::Opened opened{PosixFile::noDescriptor, FileError::of(EEXIST), folder, {}};
    for (int attempt = 0; attempt < 100; ++attempt) {
        opened = PosixFile::createNew(folder + "/" + randomName());
        if (opened.descriptor != PosixFile::noDescriptor) {
            // A sweep in another process may have taken the name away before the lock was held.
            struct stat status {};
            if (fstat(opened.descriptor, &status) == 0 && status.st_nlink > 0)
                return opened;
            PosixFile::close(opened.descriptor);
            continue;
        }
        const bool taken = opened.error.osError == EEXIST || opened.error.osError == EWOULDBLOCK;
        if (!taken)
            return opened;
    }
    return opened;
}

bool WorkFiles::isWorkFileName(const std::string& path) {
    const std::string name = PathParts::lastPart(path);
    const std::size_t length = sizeof prefix - 1 + randomPart + sizeof suffix - 1;
    return name.size() == length && name.starts_with(prefix) && name.ends_with(suffix) &&
           isRandomPart(name.substr(sizeof prefix - 1, randomPart));
}

void WorkFiles::sweep(const std::string& path) {
    const std::string folder = folderOf(path);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr)
        return;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(listing)) {
        if (isWorkFileName(entry->d_name))
            found.push_back(folder + "/" + entry->d_name);
    }
    closedir(listing);
    for (const std::string& name : found)
        removeIfLeft(name);
}

FileError WorkFiles::copyAttributes(int from, int to) {
    struct stat status {};
    if (fstat(from, &status) != 0)
        return FileError::of(errno);
    // The owner first: giving a file away clears its set-user-ID bit. A user may give a file only
    // to a group of his own, and to nobody else.
    if (fchown(to, status.st_uid, status.st_gid) != 0 && errno == EPERM)
        fchown(to, static_cast<uid_t>(-1), status.st_gid);
    // A file system without permissions (FAT) refuses to change them; its files have none to keep.
    if (fchmod(to, status.st_mode & 07777) != 0 && errno != EPERM && errno != EOPNOTSUPP)
        return FileError::of(errno);
    return {};
}

WorkFiles::Obstacle WorkFiles::obstacleFor(const std::string& path, std::uint64_t needed) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && status.st_nlink > 1)
        return Obstacle::otherNames;
    struct statvfs space {};
    if (statvfs(FileNames::directoryOf(path).c_str(), &space) == 0 &&
        static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize < needed)
        return Obstacle::noRoom;
    return Obstacle::none;
}

WorkFiles::Obstacle WorkFiles::obstacleOf(int createFailed) {
    switch (createFailed) {
    case EACCES:
    case EPERM:
        return Obstacle::noRight;
    case ENOSPC:
    case EDQUOT:
        return Obstacle::noRoom;
    default:
        return Obstacle::none;
    }
}

} // namespace platform
