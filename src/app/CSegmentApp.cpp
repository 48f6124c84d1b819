#include "app/CSegmentApp.h"

#include "app/CMainDlg.h"

CSegmentApp theApp;

bool CSegmentApp::InitInstance() {
    CMainDlg dialog;
    dialog.OpenAtStart(m_startRequest);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // No message loop follows: the program ends when the main window does.
    return false;
}
