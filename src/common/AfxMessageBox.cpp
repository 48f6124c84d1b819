#include "common/AfxMessageBox.h"

#include "common/CWinApp.h"

#include "platform/DialogHost.h"
#include "platform/Services.h"
#include "resources/StringTable.h"

namespace {

constexpr unsigned iconMask = 0xF0;
constexpr unsigned buttonMask = 0x0F;
constexpr unsigned iconExclamation = 0x30;

unsigned withDefaultIcon(unsigned type) {
    const unsigned buttons = type & buttonMask;
    const bool plainButtons = buttons == 0 || buttons == 1 || buttons == 3 || buttons == 4;
    if ((type & iconMask) == 0 && plainButtons)
        return type | iconExclamation;
    return type;
}

} // namespace

int AfxMessageBox(const std::string& text, unsigned type) {
    platform::MessageBoxRequest request;
    request.owner = platform::DialogHost::activeModal();
    request.text = text;
    request.caption = CWinApp::DisplayName();
    request.type = withDefaultIcon(type);
    return platform::Services::messageBoxes().show(request);
}

int AfxMessageBox(unsigned stringId, unsigned type) {
    return AfxMessageBox(resources::StringTable::load(stringId), type);
}
