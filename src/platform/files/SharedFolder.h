#pragma once

#include "platform/files/FileError.h"

#include <string>

struct stat;

namespace platform {

// A sticky folder that other users may write to (/tmp, a team's shared folder) lets any of them
// put a link or a file under a name the program is about to use. There the program follows no
// link, and writes, removes or replaces no regular file, that belongs to neither the user nor the
// folder's owner, whatever the kernel's own protections are set to. Elsewhere every name is
// taken as it stands.
class SharedFolder final {
  public:
    // Whether the entry under path, as lstat() saw it, is kept away from: a stranger's link in
    // any case, a stranger's regular file when it would be written, emptied or removed.
    static bool forbids(const std::string& path, const struct stat& entry, bool writing);
    // The same for whatever stands under a name as FileNames::resolve() reads it now: the failure
    // that opening it would give, or none. A name on drive A: without a medium is no refusal.
    static FileError refusal(const std::string& name, bool writing);
    // Whether the folder that would hold the name is such a folder: elsewhere no name needs a look.
    static bool holds(const std::string& name);
};

} // namespace platform
