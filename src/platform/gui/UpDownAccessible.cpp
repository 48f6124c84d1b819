#include "platform/gui/UpDownAccessible.h"

#include "platform/gui/UpDownWidget.h"

#include <QLineEdit>

#include <algorithm>

namespace platform {

UpDownAccessible::UpDownAccessible(UpDownWidget* upDown)
    : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

UpDownWidget* UpDownAccessible::upDown() const {
    return static_cast<UpDownWidget*>(widget());
}

QString UpDownAccessible::text(QAccessible::Text kind) const {
    // Without a name of its own it is called what its field is called.
    QString own = QAccessibleWidget::text(kind);
    QLineEdit* field = upDown()->buddy();
    if (kind != QAccessible::Name || !own.isEmpty() || field == nullptr)
        return own;
    QAccessibleInterface* fieldInterface = QAccessible::queryAccessibleInterface(field);
    return fieldInterface != nullptr ? fieldInterface->text(QAccessible::Name) : own;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
UpDownAccessible::relations(QAccessible::Relation match) const {
    auto result = QAccessibleWidget::relations(match);
    QLineEdit* field = upDown()->buddy();
    if (field != nullptr && (match & QAccessible::Controller))
        result.append({QAccessible::queryAccessibleInterface(field), QAccessible::Controller});
    return result;
}

void* UpDownAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant UpDownAccessible::currentValue() const {
    return upDown()->value();
}

void UpDownAccessible::setCurrentValue(const QVariant& value) {
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (isNumber)
        upDown()->setValue(number);
}

QVariant UpDownAccessible::maximumValue() const {
    return std::max(upDown()->minimum(), upDown()->maximum());
}

QVariant UpDownAccessible::minimumValue() const {
    return std::min(upDown()->minimum(), upDown()->maximum());
}

QStringList UpDownAccessible::actionNames() const {
    return {increaseAction(), decreaseAction()};
}

void UpDownAccessible::doAction(const QString& actionName) {
    if (!upDown()->isEnabled())
        return;
    // The up arrow lowers the value of a range given high to low; these actions never do.
    const int up = upDown()->minimum() <= upDown()->maximum() ? +1 : -1;
    if (actionName == increaseAction())
        upDown()->stepBy(up);
    else if (actionName == decreaseAction())
        upDown()->stepBy(-up);
}

} // namespace platform
