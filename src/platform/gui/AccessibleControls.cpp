#include "platform/gui/AccessibleControls.h"

#include "platform/gui/AnimationAccessible.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/UpDownAccessible.h"
#include "platform/gui/UpDownWidget.h"

namespace platform {

namespace {

QAccessibleInterface* interfaceFor(const QString&, QObject* object) {
    // Asked once per class of the object's ancestry: answering by the object itself covers
    // classes that carry no meta-object of their own.
    if (auto* upDown = dynamic_cast<UpDownWidget*>(object))
        return new UpDownAccessible(upDown);
    if (auto* animation = qobject_cast<AnimationWidget*>(object))
        return new AnimationAccessible(animation);
    return nullptr;
}

} // namespace

void AccessibleControls::install() {
    QAccessible::installFactory(interfaceFor);
}

} // namespace platform
