#pragma once

#include <string>

class CDialog;

// The Browse button of the operation dialogs: a confirmed file becomes the kept path and the
// path field's text. Every other field keeps what the user typed in it.
class CBrowse final {
  public:
    static void Run(CDialog& dialog, int pathFieldId, std::string& keptPath);
};
