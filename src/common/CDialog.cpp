#include "common/CDialog.h"

#include "common/AfxMessageBox.h"
#include "common/CDataExchange.h"
#include "common/CFileException.h"
#include "common/CMemoryException.h"
#include "common/CUserException.h"
#include "common/CWinApp.h"
#include "common/CWindowPlacement.h"

#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogHost.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Services.h"
#include "resources/DialogTemplates.h"
#include "resources/StringTable.h"

#include <new>

namespace {

using platform::MessageBoxType;

constexpr unsigned memoryReportType = MessageBoxType::systemModal | MessageBoxType::iconExclamation;
constexpr const char* outOfMemory = "Out of memory.";

} // namespace

CDialog::CDialog(int templateId) : m_templateId(templateId) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    const platform::DialogTemplate* resource = resources::DialogTemplates::Find(m_templateId);
    if (resource == nullptr)
        return -1;
    const int result = platform::DialogHost::runModal(*resource, *this);
    m_window = {};
    return result;
}

void CDialog::EndDialog(int result) {
    platform::DialogHost::endModal(m_window, result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate);
    try {
        DoDataExchange(exchange);
    } catch (const CUserException&) {
        return false;
    }
    return true;
}

int CDialog::MessageBox(const std::string& text, std::optional<std::string> caption,
                        unsigned type) {
    platform::MessageBoxRequest request;
    request.owner = m_window;
    request.text = text;
    request.caption = caption ? *caption : CWinApp::DisplayName();
    request.type = type;
    return platform::Services::messageBoxes().show(request);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnCommand(int) {
    return false;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(platform::DialogCommand::ok);
}

void CDialog::OnCancel() {
    EndDialog(platform::DialogCommand::cancel);
}

void CDialog::OnSysCommand(unsigned id) {
    platform::DialogHost::defaultSysCommand(m_window, id);
}

bool CDialog::onInitDialog(platform::Window dialog) {
    m_window = dialog;
    bool focusFirst = true;
    try {
        focusFirst = OnInitDialog();
    } catch (const CException&) {
        // Nothing to report here: the dialog still opens.
    }
    centreWindow();
    return focusFirst;
}

void CDialog::centreWindow() {
    const platform::ScreenRect window = m_window.rect();
    platform::Window owner = m_window.parent();
    if (owner.exists() && owner.isVisible() && !owner.isMinimized()) {
        m_window.move(CWindowPlacement::Centre(window, owner.rect(), owner.nearestWorkArea()),
                      false);
        return;
    }
    const platform::ScreenRect area = platform::Window::primaryWorkArea();
    m_window.move(CWindowPlacement::Centre(window, area, area), false);
}

void CDialog::onCommand(int id) {
    // Every command runs inside the dispatcher: an exception ends the command, never the program.
    try {
        dispatch(id);
    } catch (const CUserException&) {
        // Already reported where it was raised.
    } catch (const CMemoryException&) {
        AfxMessageBox(outOfMemory, memoryReportType);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(outOfMemory, memoryReportType);
    } catch (const CFileException& error) {
        AfxMessageBox(error.GetErrorMessage(), MessageBoxType::iconStop);
    } catch (const CException&) {
        AfxMessageBox(resources::StringTable::load(resources::StringTable::internalError),
                      MessageBoxType::iconStop);
    }
}

void CDialog::dispatch(int id) {
    if (OnCommand(id))
        return;
    if (id == platform::DialogCommand::ok)
        OnOK();
    else if (id == platform::DialogCommand::cancel)
        OnCancel();
}

void CDialog::onSysCommand(unsigned id) {
    try {
        OnSysCommand(id);
    } catch (const CException&) {
    }
}

// F1 reaches the dialog that holds the focus, so its own context is the one asked for.
void CDialog::onHelpKey() {
    if (CWinApp* app = CWinApp::Get())
        app->OnHelp(GetHelpContext());
}
