#pragma once

#include <string>

namespace platform {

// What stands under a name itself (a link as a link, not what it leads to), as removing the name
// would find it.
struct NameEntry final {
    enum class Kind { nothing, regularFile, link, directory, other };

    Kind kind = Kind::nothing;
    // Owned by the user Sundrel runs as. Root counts as itself: it owns only its own files.
    bool ownedByUser = false;
    // A regular file whose owner has not allowed himself to write it.
    bool readOnly = false;

    // A name on drive A: while the drive holds no medium stands for nothing.
    static NameEntry of(const std::string& name);
};

} // namespace platform
