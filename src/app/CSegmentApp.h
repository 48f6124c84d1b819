#pragma once

#include "common/CWinApp.h"

#include "platform/gui/StartRequest.h"

// Sundrel's application object: start-up runs the main window and the program ends with it.
class CSegmentApp final : public CWinApp {
  public:
    // What the command line asked to open once the main window is up.
    void SetStartRequest(const platform::StartRequest& request) { m_startRequest = request; }

  protected:
    bool InitInstance() override;

  private:
    platform::StartRequest m_startRequest;
};

extern CSegmentApp theApp;
