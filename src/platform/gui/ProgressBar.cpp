#include "platform/gui/ProgressBar.h"

#include "platform/gui/ProgressBarWidget.h"
#include "platform/gui/WindowRegistry.h"

namespace platform {

void ProgressBar::setRange(int low, int high) {
    if (auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle()))
        bar->setRange32(low, high);
}

void ProgressBar::setStep(int step) {
    if (auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle()))
        bar->setStepSize(step);
}

void ProgressBar::stepIt() {
    if (auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle()))
        bar->stepIt();
}

void ProgressBar::setPosition(int position) {
    if (auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle()))
        bar->setPosition(position);
}

int ProgressBar::position() const {
    auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle());
    return bar == nullptr ? 0 : bar->position();
}

int ProgressBar::low() const {
    auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle());
    return bar == nullptr ? 0 : bar->low();
}

int ProgressBar::high() const {
    auto* bar = WindowRegistry::widgetAs<ProgressBarWidget>(m_control.handle());
    return bar == nullptr ? 0 : bar->high();
}

} // namespace platform
