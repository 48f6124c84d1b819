#include "common/CFileDialog.h"

#include "common/CDialog.h"

#include "platform/gui/DialogCommand.h"
#include "platform/gui/Services.h"

CFileDialog::CFileDialog(CDialog& owner, unsigned flags)
    : m_owner(owner), m_flags(flags | enableHook | enableSizing | explorer) {}

int CFileDialog::DoModal() {
    platform::FileChooserRequest request;
    request.owner = m_owner.GetSafeHwnd();
    request.flags = m_flags;
    request.startPath = m_startPath;
    platform::Window focus = platform::Window::focused();
    const platform::FileChooserAnswer answer =
        platform::Services::fileChooser().chooseFileToOpen(request);
    // The focus goes back to the control that had it before the dialog.
    focus.setFocus();
    if (answer.result != 1)
        return 0;
    m_pathName = answer.path;
    return platform::DialogCommand::ok;
}
