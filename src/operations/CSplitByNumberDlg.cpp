#include "operations/CSplitByNumberDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"

#include "resources/DialogTemplates.h"

CSplitByNumberDlg::CSplitByNumberDlg() : CDialog(resources::DialogTemplates::splitByNumber) {}

void CSplitByNumberDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(1020, m_progress);
    exchange.Bind(1013, m_arrows);
    exchange.Text(1001, m_strPath);
    exchange.Signed(1004, m_nSegments);
}

bool CSplitByNumberDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_arrows.SetRange(2, 1000);
    return true;
}

bool CSplitByNumberDlg::OnCommand(int id) {
    if (id == 1002) {
        CBrowse::Run(*this, m_strPath);
        return true;
    }
    return false;
}
