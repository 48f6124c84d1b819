#include "platform/gui/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace platform {

void EventPump::pumpWithoutInput() {
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace platform
