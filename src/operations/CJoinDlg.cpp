#include "operations/CJoinDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"

#include "resources/DialogTemplates.h"

CJoinDlg::CJoinDlg() : CDialog(resources::DialogTemplates::join) {}

void CJoinDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(1020, m_progress);
    exchange.Text(1007, m_strFirstSegment);
}

bool CJoinDlg::OnCommand(int id) {
    if (id == 1002) {
        CBrowse::Run(*this, m_strFirstSegment);
        return true;
    }
    return false;
}
