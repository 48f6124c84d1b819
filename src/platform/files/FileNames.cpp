#include "platform/files/FileNames.h"

#include "platform/files/DriveA.h"
#include "platform/files/PathParts.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace platform {

namespace {

std::optional<std::string> realPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        return std::nullopt;
    return std::string(resolved);
}

} // namespace

std::optional<std::string> FileNames::resolve(const std::string& name) {
    if (!onDriveA(name))
        return name;
    const auto drive = DriveA::directory();
    if (!drive)
        return std::nullopt;
    return *drive + "/" + name.substr(2);
}

std::string FileNames::shownPath(const std::string& name) {
    if (!onDriveA(name))
        return name;
    const auto drive = DriveA::directoryName();
    return drive ? *drive + "/" + name.substr(2) : name;
}

std::string FileNames::fullPath(const std::string& path) {
    if (path.empty())
        return path;
    const std::string last = PathParts::lastPart(path);
    if (last.empty() || last == "." || last == "..")
        return realPath(path).value_or(path);
    const auto directory = realPath(directoryOf(path));
    if (!directory)
        return path;
    return (*directory == "/" ? std::string() : *directory) + "/" + last;
}

std::string FileNames::leadsTo(const std::string& name) {
    const auto path = resolve(name);
    struct stat status {};
    if (!path || lstat(path->c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path.value_or(name);
    return realPath(*path).value_or(*path);
}

bool FileNames::nameExists(const std::string& name) {
    const auto path = resolve(name);
    struct stat status {};
    return path && lstat(path->c_str(), &status) == 0;
}

bool FileNames::isRegularFile(const std::string& name) {
    const auto path = resolve(name);
    struct stat status {};
    return path && stat(path->c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::uint64_t> FileNames::lengthOf(const std::string& name) {
    const auto path = resolve(name);
    struct stat status {};
    if (!path || stat(path->c_str(), &status) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

bool FileNames::sameFile(const std::string& one, const std::string& other) {
    const auto first = resolve(one), second = resolve(other);
    struct stat a {
    }, b{};
    return first && second && stat(first->c_str(), &a) == 0 && stat(second->c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool FileNames::onDriveA(const std::string& name) {
    return name.size() >= 2 && (name[0] == 'a' || name[0] == 'A') && name[1] == ':';
}

std::string FileNames::directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace platform
