#pragma once

#include "common/CException.h"

#include "platform/files/FileError.h"

#include <string>

// A file request that failed: what kind of failure, the system's error code, and the file.
class CFileException final : public CException {
  public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, long osError = -1, std::string fileName = {});
    // A failure that the system reported, with its cause and error code.
    explicit CFileException(const platform::FileError& error, std::string fileName = {});

    // The text that reports this failure to the user: the template of the cause, with the file
    // name (or "an unnamed file" when there is none) in place of "%1".
    std::string GetErrorMessage() const;

    int m_cause;
    long m_lOsError; // the system's error code, or -1 when the program found the failure itself
    std::string m_strFileName;
};
