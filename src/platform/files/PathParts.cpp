#include "platform/files/PathParts.h"

namespace platform {

std::string PathParts::lastPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace platform
