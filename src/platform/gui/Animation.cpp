#include "platform/gui/Animation.h"

#include "platform/gui/AnimationWidget.h"
#include "platform/gui/WindowRegistry.h"

namespace platform {

bool Animation::open(std::span<const unsigned char> aviBytes) {
    auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle());
    return widget != nullptr && widget->open(aviBytes);
}

void Animation::close() {
    if (auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle()))
        widget->close();
}

bool Animation::play(int from, int to, int repeat) {
    auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle());
    return widget != nullptr && widget->play(from, to, repeat);
}

void Animation::stop() {
    if (auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle()))
        widget->stop();
}

bool Animation::isPlaying() const {
    auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle());
    return widget != nullptr && widget->isPlaying();
}

int Animation::currentFrame() const {
    auto* widget = WindowRegistry::widgetAs<AnimationWidget>(m_control.handle());
    return widget == nullptr ? 0 : widget->currentFrame();
}

} // namespace platform
