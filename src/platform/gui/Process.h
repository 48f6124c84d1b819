#pragma once

#include <string>

namespace platform {

// Facts about the running program.
class Process final {
  public:
    // The full path of the program file, as the system reports it.
    static std::string programFilePath();
    // Adds bits to the process error mode and answers the previous mode. The desktop never shows
    // system dialogs for failed file requests here, so the mode is only recorded.
    static unsigned setErrorMode(unsigned mode);
    static unsigned errorMode();
    // A write past the file-size limit (ulimit -f) then fails with EFBIG instead of ending the
    // process. The signal is caught, not ignored: programs started from here get it back as it was.
    static void failWritesPastFileSizeLimit();
};

} // namespace platform
