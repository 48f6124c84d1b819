#pragma once

#include "common/CWinApp.h"

// Sundrel's application object: start-up runs the main window and the program ends with it.
class CSegmentApp final : public CWinApp {
  protected:
    bool InitInstance() override;
};

extern CSegmentApp theApp;
