#pragma once

#include "platform/gui/Window.h"

#include <string>

namespace platform {

struct FileChooserRequest {
    Window owner;
    unsigned flags = 0;
    std::string title;  // empty: the desktop's own title for an Open dialog
    std::string filter; // empty: every file is listed
    // Where the chooser opens: the folder of this path, with its file selected, or the home
    // folder when it is empty or its folder is gone.
    std::string startPath;
};

struct FileChooserAnswer {
    int result = 0; // 1 when the user confirmed a name; 0 on Cancel or failure
    std::string path;
};

// The desktop's file-open dialog.
class FileChooserService {
  public:
    virtual ~FileChooserService() = default;
    virtual FileChooserAnswer chooseFileToOpen(const FileChooserRequest& request) = 0;
};

} // namespace platform
