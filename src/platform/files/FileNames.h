#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What the names that the program is given stand for on this system.
class FileNames final {
  public:
    // The path that a name stands for: "a:name" and "A:name" are name in the root directory of
    // drive A:, every other name stands for itself. Nothing for a name on drive A: while the drive
    // holds no medium.
    static std::optional<std::string> resolve(const std::string& name);

    // The path that a report shows for a name: a name on drive A: in the medium's directory as
    // it was named when the drive was looked at (see DriveA::Look); every other name as it is.
    static std::string shownPath(const std::string& name);

    // The absolute form of a path that a name stood for (see resolve): its directory resolved
    // against the current directory and through links. A path whose directory cannot be resolved
    // is kept as it is.
    static std::string fullPath(const std::string& path);

    // The path that a name stands for (see resolve), or for a symbolic link that leads to a file,
    // that file's path; the name itself while drive A: holds no medium.
    static std::string leadsTo(const std::string& name);

    // Whether anything at all stands under that name: a file, a directory, or a link even when
    // it leads nowhere.
    static bool nameExists(const std::string& name);
    // Whether a regular file stands under the name, through any links.
    static bool isRegularFile(const std::string& name);
    // The length of the file a name leads to; nothing when no file stands there.
    static std::optional<std::uint64_t> lengthOf(const std::string& name);
    // Whether both names lead to one and the same file.
    static bool sameFile(const std::string& one, const std::string& other);

    // The directory part of a path: "." when it has none, "/" for a name in the root.
    static std::string directoryOf(const std::string& path);
    // Whether the name begins with "a:" or "A:".
    static bool onDriveA(const std::string& name);
};

} // namespace platform
