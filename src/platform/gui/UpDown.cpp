#include "platform/gui/UpDown.h"

#include "platform/gui/UpDownWidget.h"
#include "platform/gui/WindowRegistry.h"

#include <QLineEdit>

namespace platform {

void UpDown::setRange(int minimum, int maximum) {
    if (auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle()))
        upDown->setRange(minimum, maximum);
}

int UpDown::minimum() const {
    auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle());
    return upDown == nullptr ? 0 : upDown->minimum();
}

int UpDown::maximum() const {
    auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle());
    return upDown == nullptr ? 0 : upDown->maximum();
}

int UpDown::position() const {
    auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle());
    return upDown == nullptr ? 0 : upDown->position();
}

void UpDown::step(int direction) {
    if (auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle()))
        upDown->stepBy(direction);
}

Window UpDown::buddy() const {
    auto* upDown = WindowRegistry::widgetAs<UpDownWidget>(m_control.handle());
    return upDown == nullptr ? Window() : Window(WindowRegistry::handleOf(upDown->buddy()));
}

} // namespace platform
