#pragma once

#include <string>

namespace resources {

// The program's string resources, looked up by numeric id.
class StringTable final {
  public:
    enum : unsigned {
        aboutMenuItem = 101,
        unnamedFile = 61446,
        failedToLaunchHelp = 61703,
        internalError = 61704,
        commandFailed = 61705,
        enterInteger = 61712,
        enterPositiveInteger = 61719,
        fileErrorNone = 61856, // 61856 + cause gives the file-error template of that cause
    };

    // The string of that id, or an empty string when the table has none.
    static std::string load(unsigned id);
};

} // namespace resources
