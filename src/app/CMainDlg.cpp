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
    if (m_start.operation != platform::StartRequest::Operation::none)
        platform::DialogHost::postCommand(GetSafeHwnd(), PrepareStart());
    return true;
}

platform::StartRequest::Operation CMainDlg::OperationFitting(const std::string& file) {
    return !file.empty() && file.back() == '1' ? platform::StartRequest::Operation::join
                                               : platform::StartRequest::Operation::splitBySize;
}

int CMainDlg::PrepareStart() {
    using Operation = platform::StartRequest::Operation;
    namespace ids = resources::ControlIds::MainWindow;
    const Operation operation = m_start.operation == Operation::fitting
                                    ? OperationFitting(m_start.file)
                                    : m_start.operation;
    // Asked once: the dialogs keep what the user makes of the path from then on.
    m_start.operation = Operation::none;
    auto keep = [this](std::string& path) {
        if (!m_start.file.empty())
            path = m_start.file;
    };
    switch (operation) {
    case Operation::join:
        keep(m_joinDlg.m_strFirstSegment);
        return ids::join;
    case Operation::splitByNumber:
        keep(m_numberDlg.m_strPath);
        return ids::splitByNumber;
    case Operation::splitToRemovable:
        keep(m_floppyDlg.m_strPath);
        return ids::floppySplit;
    default:
        keep(m_sizeDlg.m_strPath);
        return ids::splitBySize;
    }
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
