#pragma once

#include <string>

namespace platform {

// Why a file request failed, in the terms the user's report gives: the numbers are the causes
// that the file-error report knows.
enum class FileCause : int {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
};

// A failed file request: its cause and the system's own error code (errno), or none.
struct FileError {
    FileCause cause = FileCause::none;
    int osError = 0;

    explicit operator bool() const { return cause != FileCause::none; }

    // The failure that an errno value stands for; 0 is none. A name that is not found counts as
    // a missing file.
    static FileError of(int osError);
    // The same for a request about the file at path: a name that is not found is a missing file
    // when the directory that would hold it exists, and an invalid path when it does not.
    static FileError ofName(int osError, const std::string& path);
};

} // namespace platform
