#include "platform/ProgressBar.h"

#include "platform/ProgressBarWidget.h"
#include "platform/WindowRegistry.h"

namespace platform {

namespace {

ProgressBarWidget* widgetOf(Window control) {
    return dynamic_cast<ProgressBarWidget*>(WindowRegistry::widget(control.handle()));
}

} // namespace

void ProgressBar::setRange(int low, int high) {
    if (auto* bar = widgetOf(m_control))
        bar->setRange32(low, high);
}

void ProgressBar::setStep(int step) {
    if (auto* bar = widgetOf(m_control))
        bar->setStepSize(step);
}

void ProgressBar::stepIt() {
    if (auto* bar = widgetOf(m_control))
        bar->stepIt();
}

void ProgressBar::setPosition(int position) {
    if (auto* bar = widgetOf(m_control))
        bar->setPosition(position);
}

int ProgressBar::position() const {
    auto* bar = widgetOf(m_control);
    return bar == nullptr ? 0 : bar->position();
}

int ProgressBar::low() const {
    auto* bar = widgetOf(m_control);
    return bar == nullptr ? 0 : bar->low();
}

int ProgressBar::high() const {
    auto* bar = widgetOf(m_control);
    return bar == nullptr ? 0 : bar->high();
}

} // namespace platform
