#pragma once

#include <string>

namespace platform {

// Where the file chooser opens for a path the user has in a field: the path's folder with its
// file selected, or the home folder when the field is empty or its folder is gone.
struct ChooserStart {
    std::string directory;
    std::string name; // empty: nothing selected

    static ChooserStart forPath(const std::string& path);
};

} // namespace platform
