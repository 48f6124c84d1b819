#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"
#include "common/CSpinButtonCtrl.h"

#include <string>

// Cuts a file into segments of a given byte size next to it.
class CSplitBySizeDlg final : public CDialog {
  public:
    CSplitBySizeDlg();

    std::string m_strPath;
    unsigned m_nSize = 0;

  protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id) override;

  private:
    void OnSplitFile();

    CProgressCtrl m_progress;
    CSpinButtonCtrl m_arrows;
};
