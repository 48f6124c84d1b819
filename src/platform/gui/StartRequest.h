#pragma once

#include <string>

namespace platform {

// What the command line asks the program to open once its main window is up.
struct StartRequest {
    enum class Operation { none, fitting, splitBySize, splitByNumber, splitToRemovable, join };
    Operation operation = Operation::none;
    // The file as it was named, made absolute; its bytes are kept as they are.
    std::string file;
};

} // namespace platform
