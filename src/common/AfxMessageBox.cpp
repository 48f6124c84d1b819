#include "common/AfxMessageBox.h"

#include "common/CWinApp.h"

#include "platform/gui/DialogHost.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Services.h"
#include "resources/StringTable.h"

namespace {

using platform::MessageBoxType;

unsigned withDefaultIcon(unsigned type) {
    const unsigned buttons = type & MessageBoxType::buttonMask;
    const bool plainButtons =
        buttons == MessageBoxType::ok || buttons == MessageBoxType::okCancel ||
        buttons == MessageBoxType::yesNoCancel || buttons == MessageBoxType::yesNo;
    if ((type & MessageBoxType::iconMask) == 0 && plainButtons)
        return type | MessageBoxType::iconExclamation;
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
