#include "platform/gui/WindowRegistry.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <unordered_map>

namespace platform {

namespace {

constexpr const char* handleProperty = "sundrelHandle";
constexpr const char* idProperty = "sundrelControlId";

std::unordered_map<std::uint32_t, QPointer<QWidget>>& widgets() {
    static std::unordered_map<std::uint32_t, QPointer<QWidget>> table;
    return table;
}

} // namespace

WindowHandle WindowRegistry::handleOf(QWidget* widget) {
    if (widget == nullptr)
        return {};
    QVariant known = widget->property(handleProperty);
    if (known.isValid())
        return WindowHandle(known.toUInt());
    static std::uint32_t next = 0;
    const std::uint32_t value = ++next;
    widget->setProperty(handleProperty, value);
    widgets()[value] = widget;
    QObject::connect(widget, &QObject::destroyed, [value] { widgets().erase(value); });
    return WindowHandle(value);
}

QWidget* WindowRegistry::widget(WindowHandle handle) {
    auto found = widgets().find(handle.value());
    return found == widgets().end() ? nullptr : found->second.data();
}

void WindowRegistry::setControlId(QWidget* widget, int id) {
    widget->setProperty(idProperty, id);
}

int WindowRegistry::controlId(const QWidget* widget) {
    QVariant id = widget->property(idProperty);
    return id.isValid() ? id.toInt() : 0;
}

} // namespace platform
