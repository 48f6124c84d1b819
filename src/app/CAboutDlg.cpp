#include "app/CAboutDlg.h"

#include "resources/DialogTemplates.h"

CAboutDlg::CAboutDlg() : CDialog(resources::DialogTemplates::about) {}
