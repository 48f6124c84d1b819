#include "platform/gui/AnimationAccessible.h"

#include "platform/gui/AnimationWidget.h"

namespace platform {

AnimationAccessible::AnimationAccessible(AnimationWidget* animation)
    : QAccessibleWidget(animation, QAccessible::Animation) {}

QAccessible::State AnimationAccessible::state() const {
    QAccessible::State result = QAccessibleWidget::state();
    result.animated = static_cast<AnimationWidget*>(widget())->isPlaying();
    return result;
}

} // namespace platform
