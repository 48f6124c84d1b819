#include "platform/files/NameLimits.h"

#include "platform/files/FileNames.h"
#include "platform/files/MountTable.h"
#include "platform/files/PathParts.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <set>

namespace platform {

namespace {

constexpr std::size_t utf16LongestName = 255;

// These keep names as UTF-16, at most 255 units, whatever the bytes of the name in UTF-8 and
// whatever the folder reports as its limit in bytes (FUSE drivers of exFAT report 255 and take
// 255 two-byte characters). Block devices behind FUSE are exFAT and NTFS, both of this kind.
bool storesUtf16Names(const std::string& directory) {
    static const std::set<std::string> kinds = {"vfat", "exfat", "ntfs", "ntfs3", "fuseblk"};
    const auto mount = MountTable::holding(directory);
    return mount && kinds.count(mount->fileSystem) != 0;
}

} // namespace

FileError NameLimits::check(const std::string& name) {
    const auto path = FileNames::resolve(name);
    if (!path)
        return {};
    const bool fits = path->size() < PATH_MAX &&
                      fitsTheFolder(FileNames::directoryOf(*path), PathParts::lastPart(*path));
    return fits ? FileError{} : FileError::of(ENAMETOOLONG);
}

bool NameLimits::fitsTheFolder(const std::string& directory, const std::string& lastPart) {
    if (storesUtf16Names(directory))
        return utf16Units(lastPart) <= utf16LongestName;
    const long longest = pathconf(directory.c_str(), _PC_NAME_MAX);
    return longest <= 0 || lastPart.size() <= static_cast<std::size_t>(longest);
}

// Counted from the lead bytes of the UTF-8: a character beyond the basic plane takes two units.
std::size_t NameLimits::utf16Units(const std::string& utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace platform
