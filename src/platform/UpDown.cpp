#include "platform/UpDown.h"

#include "platform/UpDownWidget.h"
#include "platform/WindowRegistry.h"

#include <QLineEdit>

namespace platform {

namespace {

UpDownWidget* widgetOf(Window control) {
    return dynamic_cast<UpDownWidget*>(WindowRegistry::widget(control.handle()));
}

} // namespace

void UpDown::setRange(int minimum, int maximum) {
    if (auto* upDown = widgetOf(m_control))
        upDown->setRange(minimum, maximum);
}

int UpDown::minimum() const {
    auto* upDown = widgetOf(m_control);
    return upDown == nullptr ? 0 : upDown->minimum();
}

int UpDown::maximum() const {
    auto* upDown = widgetOf(m_control);
    return upDown == nullptr ? 0 : upDown->maximum();
}

int UpDown::position() const {
    auto* upDown = widgetOf(m_control);
    return upDown == nullptr ? 0 : upDown->position();
}

void UpDown::step(int direction) {
    if (auto* upDown = widgetOf(m_control))
        upDown->stepBy(direction);
}

Window UpDown::buddy() const {
    auto* upDown = widgetOf(m_control);
    return upDown == nullptr ? Window() : Window(WindowRegistry::handleOf(upDown->buddy()));
}

} // namespace platform
