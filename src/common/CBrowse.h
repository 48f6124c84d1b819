#pragma once

#include <string>

class CDialog;

// The Browse button of the operation dialogs: a confirmed file becomes the kept path, and every
// control shows its kept value again.
class CBrowse final {
  public:
    static void Run(CDialog& dialog, std::string& keptPath);
};
