#include "operations/CSplitBySizeDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"

#include "resources/DialogTemplates.h"

CSplitBySizeDlg::CSplitBySizeDlg() : CDialog(resources::DialogTemplates::splitBySize) {}

void CSplitBySizeDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(1020, m_progress);
    exchange.Bind(1013, m_arrows);
    exchange.Text(1001, m_strPath);
    exchange.Unsigned(1005, m_nSize);
}

bool CSplitBySizeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_arrows.SetRange(2, 1000);
    return true;
}

bool CSplitBySizeDlg::OnCommand(int id) {
    if (id == 1002) {
        CBrowse::Run(*this, m_strPath);
        return true;
    }
    return false;
}
