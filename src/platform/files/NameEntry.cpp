#include "platform/files/NameEntry.h"

#include "platform/files/FileNames.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

NameEntry::Kind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return NameEntry::Kind::regularFile;
    if (S_ISLNK(mode))
        return NameEntry::Kind::link;
    if (S_ISDIR(mode))
        return NameEntry::Kind::directory;
    return NameEntry::Kind::other;
}

} // namespace

NameEntry NameEntry::of(const std::string& name) {
    const auto path = FileNames::resolve(name);
    struct stat status {};
    if (!path || lstat(path->c_str(), &status) != 0)
        return {};
    NameEntry entry;
    entry.kind = kindOf(status.st_mode);
    entry.ownedByUser = status.st_uid == geteuid();
    entry.readOnly = entry.kind == Kind::regularFile && (status.st_mode & S_IWUSR) == 0;
    return entry;
}

} // namespace platform
