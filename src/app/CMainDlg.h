#pragma once

#include "common/CDialog.h"
#include "operations/CFloppySplitDlg.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"

#include "platform/gui/StartRequest.h"

#include <string>

// The main window: one button per operation, the About box and Exit. It owns the four operation
// dialogs, so what the user entered in one stays there until the program ends.
class CMainDlg final : public CDialog {
  public:
    static constexpr unsigned aboutCommand = 0x10;

    CMainDlg();

    // Once the window is up, opens the dialog the request names, or the one that fits its file,
    // with the file in its path field. The user still presses the dialog's button.
    void OpenAtStart(const platform::StartRequest& request) { m_start = request; }
    // A name that ends in 1 is the first segment of a set: Join; any other file is split by size.
    static platform::StartRequest::Operation OperationFitting(const std::string& file);

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
    // Puts the start file in the dialog's kept path and answers the button that opens it.
    int PrepareStart();

    platform::StartRequest m_start;
};
