#pragma once

#include "common/CDialog.h"

// The About box: who made the program and which version it is.
class CAboutDlg final : public CDialog {
  public:
    CAboutDlg();
};
