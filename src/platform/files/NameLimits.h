#pragma once

#include "platform/files/FileError.h"

#include <string>

namespace platform {

// How long a name may be where a file is to be made under it.
class NameLimits final {
  public:
    // Whether a file could be made under the name as far as its length goes: its last part
    // against the longest name its folder takes (on FAT, exFAT and NTFS 255 UTF-16 units,
    // whatever the file system reports in bytes), the whole path against the system's limit. A name
    // too long fails with ENAMETOOLONG; a folder that cannot be asked passes (its open reports it).
    static FileError check(const std::string& name);

  private:
    static bool fitsTheFolder(const std::string& directory, const std::string& lastPart);
    static std::size_t utf16Units(const std::string& utf8);
};

} // namespace platform
