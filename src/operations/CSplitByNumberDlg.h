#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"
#include "common/CSpinButtonCtrl.h"

#include <string>

// Cuts a file into a given number of segments next to it.
class CSplitByNumberDlg final : public CDialog {
  public:
    CSplitByNumberDlg();

    std::string m_strPath;
    int m_nSegments = 0;

  protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id) override;

  private:
    void OnSplitFile();

    CProgressCtrl m_progress;
    CSpinButtonCtrl m_arrows;
};
