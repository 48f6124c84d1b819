#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"

#include <string>

// Puts a segment set back together into the file it came from.
class CJoinDlg final : public CDialog {
public:
    CJoinDlg();

    std::string m_strFirstSegment;

protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnCommand(int id) override;

private:
    CProgressCtrl m_progress;
};
