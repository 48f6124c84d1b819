#pragma once

#include <QAccessibleWidget>

namespace platform {

class UpDownWidget;

// The up-down control as assistive technology sees it: one spin button with the value of its
// field, its range, and actions that step it. Its two arrow buttons are parts of it, not controls
// of their own.
class UpDownAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit UpDownAccessible(UpDownWidget* upDown);

    QString text(QAccessible::Text kind) const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    UpDownWidget* upDown() const;
};

} // namespace platform
