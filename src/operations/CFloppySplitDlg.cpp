#include "operations/CFloppySplitDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"

#include "resources/DialogTemplates.h"

CFloppySplitDlg::CFloppySplitDlg() : CDialog(resources::DialogTemplates::floppySplit) {}

void CFloppySplitDlg::DoDataExchange(CDataExchange& exchange) { exchange.Text(1001, m_strPath); }

bool CFloppySplitDlg::OnCommand(int id) {
    if (id == 1002) {
        CBrowse::Run(*this, m_strPath);
        return true;
    }
    return false;
}
