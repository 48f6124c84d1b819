#pragma once

#include "platform/gui/DialogTemplate.h"

namespace resources {

// The program's dialog resources: 100 About, 102 main window, 129 to 132 the operations.
class DialogTemplates final {
  public:
    enum : int {
        about = 100,
        mainWindow = 102,
        splitByNumber = 129,
        splitBySize = 130,
        join = 131,
        floppySplit = 132,
    };

    static const platform::DialogTemplate* Find(int id);
};

} // namespace resources
