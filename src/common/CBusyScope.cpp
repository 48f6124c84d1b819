#include "common/CBusyScope.h"

#include "platform/gui/DialogHost.h"

CBusyScope::CBusyScope(platform::Window dialog, std::initializer_list<int> greyed)
    : m_dialog(dialog), m_greyed(greyed) {
    platform::DialogHost::setBusy(m_dialog, true, m_greyed);
}

CBusyScope::~CBusyScope() {
    platform::DialogHost::setBusy(m_dialog, false);
}
