#pragma once

#include "common/CDialog.h"
#include "operations/CFloppySplitDlg.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"

// The main window: one button per operation, the About box and Exit. It owns the four operation
// dialogs, so what the user entered in one stays there until the program ends.
class CMainDlg final : public CDialog {
  public:
    static constexpr unsigned aboutCommand = 0x10;

    CMainDlg();

    CFloppySplitDlg m_floppyDlg;
    CJoinDlg m_joinDlg;
    CSplitBySizeDlg m_sizeDlg;
    CSplitByNumberDlg m_numberDlg;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnSysCommand(unsigned id) override;

  private:
    void ShowAbout();
};
