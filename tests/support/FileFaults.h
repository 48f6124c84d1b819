#pragma once

#include "common/CFileException.h"

#include <string>

namespace test {

// What a test expects of a file error: cause, error code, file name and the text of its report.
struct ExpectedFileError {
    int cause;
    long osError;
    std::string fileName;
    std::string message;
};

// Flattens a file error into one line, so that it can travel from a child process and be
// compared as a whole.
class FileFaults final {
  public:
    static std::string describe(const ExpectedFileError& e) {
        return "cause " + std::to_string(e.cause) + ", os error " + std::to_string(e.osError) +
               ", name '" + e.fileName + "', message '" + e.message + "'";
    }
    static std::string describe(const CFileException& error) {
        return describe(
            {error.m_cause, error.m_lOsError, error.m_strFileName, error.GetErrorMessage()});
    }
};

} // namespace test
