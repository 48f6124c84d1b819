#include "app/CMainDlg.h"

#include "app/CAboutDlg.h"

#include "platform/DialogHost.h"
#include "resources/BinaryResources.h"
#include "resources/DialogTemplates.h"
#include "resources/StringTable.h"

CMainDlg::CMainDlg() : CDialog(resources::DialogTemplates::mainWindow) {}

bool CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const std::string aboutItem =
        resources::StringTable::load(resources::StringTable::aboutMenuItem);
    if (!aboutItem.empty()) {
        platform::DialogHost::appendSystemMenuItem(GetSafeHwnd(), "", 0);
        platform::DialogHost::appendSystemMenuItem(GetSafeHwnd(), aboutItem, aboutCommand);
    }
    platform::DialogHost::setIcon(GetSafeHwnd(), resources::BinaryResources::icon(
                                                     resources::BinaryResources::applicationIcon));
    return true;
}

bool CMainDlg::OnCommand(int id) {
    switch (id) {
    case 1000:
        m_sizeDlg.DoModal();
        return true;
    case 1002:
        m_numberDlg.DoModal();
        return true;
    case 1001:
        m_floppyDlg.DoModal();
        return true;
    case 1006:
        m_joinDlg.DoModal();
        return true;
    case 1017:
        ShowAbout();
        return true;
    default:
        return false;
    }
}

void CMainDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0) == aboutCommand)
        ShowAbout();
    else
        CDialog::OnSysCommand(id);
}

void CMainDlg::ShowAbout() {
    CAboutDlg about;
    about.DoModal();
}
