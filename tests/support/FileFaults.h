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
    static std::string describe(const CFileException& error);
    static std::string describe(const ExpectedFileError& expected);
};

} // namespace test
