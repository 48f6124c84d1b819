#include "platform/files/NameLimits.h"

#include "platform/files/FileNames.h"
#include "platform/files/PathParts.h"

#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace platform {

namespace {

// Both keep long names as UTF-16, at most 255 units, whatever the bytes of the name in UTF-8.
constexpr long fatMagic = 0x4d44;
constexpr long exfatMagic = 0x2011BAB0;
constexpr std::size_t fatLongestName = 255;

bool storesUtf16Names(const std::string& directory) {
    struct statfs system {};
    return statfs(directory.c_str(), &system) == 0 &&
           (system.f_type == fatMagic || system.f_type == exfatMagic);
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
    const long longest = pathconf(directory.c_str(), _PC_NAME_MAX);
    if (longest > 0 && lastPart.size() > static_cast<std::size_t>(longest))
        return false;
    return !storesUtf16Names(directory) || utf16Units(lastPart) <= fatLongestName;
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
