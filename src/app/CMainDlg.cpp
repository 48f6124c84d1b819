#include "app/CMainDlg.h"

#include "app/CAboutDlg.h"

#include "platform/gui/DialogHost.h"
#include "resources/BinaryResources.h"
#include "resources/ControlIds.h"
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
    namespace ids = resources::ControlIds::MainWindow;
    switch (id) {
    case ids::splitBySize:
        m_sizeDlg.DoModal();
        return true;
    case ids::splitByNumber:
        m_numberDlg.DoModal();
        return true;
    case ids::floppySplit:
        m_floppyDlg.DoModal();
        return true;
    case ids::join:
        m_joinDlg.DoModal();
        return true;
    case ids::about:
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
