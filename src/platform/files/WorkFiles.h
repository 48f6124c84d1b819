#pragma once

#include "platform/files/FileError.h"
#include "platform/files/PosixFile.h"

#include <cstdint>
#include <string>

namespace platform {

// Files that an operation writes under a name of their own until they are whole, then renames
// into place: ".sundrel-" followed by eight random letters and digits, then ".part". The name is
// short and of one length, so it fits in any folder the final name fits in, and no join takes
// it for a segment. It is created where nothing stands (O_EXCL) and locked while it is written;
// one that nobody holds is what a killed operation left.
class WorkFiles final {
  public:
    // Creates a work file in the folder that holds path (as FileNames::resolve() reads it), as
    // PosixFile::createNew() does.
    static PosixFile::Opened create(const std::string& path);
    // Whether the last part of a path is a work file's name.
    static bool isWorkFileName(const std::string& path);
    // Removes the work files in the folder that holds path that operations left when they were
    // killed: this user's regular files that no process holds locked. Anything else stays.
    static void sweep(const std::string& path);
    // Gives the file open as to the permissions of the file open as from, and its owner and
    // group where the system lets this user give them.
    static FileError copyAttributes(int from, int to);

    // Why a file cannot be replaced by a work file renamed over it; none when it can.
    enum class Obstacle { none, otherNames, noRoom, noRight };
    // The obstacle known before a work file is made: the file under path has other names (hard
    // links) that would keep the old bytes, or its folder has no room for needed more bytes.
    static Obstacle obstacleFor(const std::string& path, std::uint64_t needed);
    // The obstacle that the failure to create a work file (its errno) stands for, if any.
    static Obstacle obstacleOf(int createFailed);
};

} // namespace platform
