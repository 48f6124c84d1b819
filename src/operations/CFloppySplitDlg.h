#pragma once

#include "common/CDialog.h"

#include <string>

// Spreads a file over a series of removable media in drive A:, one segment per medium.
class CFloppySplitDlg final : public CDialog {
public:
    CFloppySplitDlg();

    std::string m_strPath;

protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnCommand(int id) override;
};
