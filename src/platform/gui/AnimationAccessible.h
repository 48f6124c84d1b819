#pragma once

#include <QAccessibleWidget>

namespace platform {

class AnimationWidget;

// The animation control as assistive technology sees it: an animation, marked animated while its
// clip plays.
class AnimationAccessible final : public QAccessibleWidget {
  public:
    explicit AnimationAccessible(AnimationWidget* animation);

    QAccessible::State state() const override;
};

} // namespace platform
