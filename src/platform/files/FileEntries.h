#pragma once

#include "platform/files/FileError.h"

#include <string>

namespace platform {

// Changes to the entries of a folder, for names as FileNames::resolve() reads them.
class FileEntries final {
  public:
    // Removes what stands under the name when it is this user's regular file or symbolic link
    // (the link itself, never what it leads to); nothing standing there is no failure. Anything
    // else, another user's file included whoever runs the program, is refused (EACCES).
    static FileError removeOwn(const std::string& name);
    // Gives the file under from the name to, in the same folder. With replace, a file under to
    // is replaced; without, a name that is taken fails with EEXIST and nothing changes. With
    // flush, the folder's new entries are on the medium before it returns.
    static FileError rename(const std::string& from, const std::string& to, bool replace,
                            bool flush);
    // Whether a rename without replace failed because the new name is taken.
    static bool nameTaken(const FileError& error);
};

} // namespace platform
