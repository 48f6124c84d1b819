#pragma once

#include <string>

namespace platform {

// The parts of a path, taken apart at the directory separator.
class PathParts final {
  public:
    // The text after the last separator: the file's own name, or the whole path when it has none.
    static std::string lastPart(const std::string& path);
};

} // namespace platform
