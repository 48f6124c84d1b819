#include "platform/Animation.h"

#include "platform/AnimationWidget.h"
#include "platform/WindowRegistry.h"

namespace platform {

namespace {

AnimationWidget* widgetOf(Window control) {
    return dynamic_cast<AnimationWidget*>(WindowRegistry::widget(control.handle()));
}

} // namespace

bool Animation::open(std::span<const unsigned char> aviBytes) {
    auto* widget = widgetOf(m_control);
    return widget != nullptr && widget->open(aviBytes);
}

void Animation::close() {
    if (auto* widget = widgetOf(m_control))
        widget->close();
}

bool Animation::play(int from, int to, int repeat) {
    auto* widget = widgetOf(m_control);
    return widget != nullptr && widget->play(from, to, repeat);
}

void Animation::stop() {
    if (auto* widget = widgetOf(m_control))
        widget->stop();
}

bool Animation::isPlaying() const {
    auto* widget = widgetOf(m_control);
    return widget != nullptr && widget->isPlaying();
}

int Animation::currentFrame() const {
    auto* widget = widgetOf(m_control);
    return widget == nullptr ? 0 : widget->currentFrame();
}

} // namespace platform
