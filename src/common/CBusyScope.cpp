#include "common/CBusyScope.h"

#include "platform/gui/DialogHost.h"

CBusyScope::CBusyScope(platform::Window dialog) : m_dialog(dialog) {
    platform::DialogHost::setBusy(m_dialog, true);
}

CBusyScope::~CBusyScope() {
    platform::DialogHost::setBusy(m_dialog, false);
}
