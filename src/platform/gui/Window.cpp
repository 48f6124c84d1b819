#include "platform/gui/Window.h"

#include "platform/gui/DialogWindow.h"
#include "platform/gui/FileDrop.h"
#include "platform/gui/QtText.h"
#include "platform/gui/WindowRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace platform {

namespace {

ScreenRect toScreenRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

} // namespace

bool Window::exists() const {
    return WindowRegistry::widget(m_handle) != nullptr;
}

int Window::controlId() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    return widget == nullptr ? 0 : WindowRegistry::controlId(widget);
}

std::string Window::text() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr)
        return {};
    if (widget->isWindow())
        return QtText::toBytes(widget->windowTitle());
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return QtText::toBytes(edit->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return QtText::toBytes(button->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return QtText::toBytes(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return QtText::toBytes(group->title());
    return {};
}

void Window::setText(const std::string& text) {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr || this->text() == text)
        return;
    const QString value = QtText::fromBytes(text);
    if (widget->isWindow())
        widget->setWindowTitle(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(value);
}

Window Window::child(int id) const {
    auto* dialog = dynamic_cast<DialogWindow*>(WindowRegistry::widget(m_handle));
    if (dialog == nullptr)
        return {};
    return Window(WindowRegistry::handleOf(dialog->control(id)));
}

Window Window::parent() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr || widget->parentWidget() == nullptr)
        return {};
    return Window(WindowRegistry::handleOf(widget->parentWidget()));
}

Window Window::topLevel() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    return widget == nullptr ? Window() : Window(WindowRegistry::handleOf(widget->window()));
}

void Window::setFocus() {
    if (QWidget* widget = WindowRegistry::widget(m_handle))
        widget->setFocus(Qt::OtherFocusReason);
}

bool Window::hasFocus() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    // The window's own focus control, whether or not the window is the active one.
    return widget != nullptr && widget->window()->focusWidget() == widget;
}

void Window::selectAllText() {
    if (auto* edit = qobject_cast<QLineEdit*>(WindowRegistry::widget(m_handle)))
        edit->selectAll();
}

void Window::acceptFileDrops() {
    if (auto* edit = qobject_cast<QLineEdit*>(WindowRegistry::widget(m_handle)))
        FileDrop::install(edit);
}

void Window::enable(bool enabled) {
    if (QWidget* widget = WindowRegistry::widget(m_handle))
        widget->setEnabled(enabled);
}

bool Window::isEnabled() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    return widget != nullptr && widget->isEnabled();
}

void Window::show(bool visible) {
    if (QWidget* widget = WindowRegistry::widget(m_handle))
        widget->setVisible(visible);
}

bool Window::isVisible() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    return widget != nullptr && widget->isVisible();
}

bool Window::isMinimized() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    return widget != nullptr && widget->isMinimized();
}

ScreenRect Window::rect() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr)
        return {};
    if (!widget->isWindow())
        return toScreenRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
    return toScreenRect(widget->frameGeometry());
}

ScreenRect Window::clientRect() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr)
        return {};
    return toScreenRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

void Window::move(const ScreenRect& outer, bool repaint) {
    QWidget* widget = WindowRegistry::widget(m_handle);
    if (widget == nullptr)
        return;
    if (!widget->isWindow()) {
        widget->setGeometry(outer.left, outer.top, outer.width(), outer.height());
        return;
    }
    // The frame the window manager adds stays the same; the client area takes the rest.
    const QRect frame = widget->frameGeometry();
    const QRect client = widget->geometry();
    const int extraWidth = frame.width() - client.width();
    const int extraHeight = frame.height() - client.height();
    const int width = std::max(1, outer.width() - extraWidth);
    const int height = std::max(1, outer.height() - extraHeight);
    widget->setFixedSize(width, height);
    widget->move(outer.left, outer.top);
    if (repaint)
        widget->update();
}

ScreenRect Window::mapDialogRect(const DialogUnitRect& units) const {
    auto* dialog = dynamic_cast<DialogWindow*>(WindowRegistry::widget(topLevel().handle()));
    if (dialog == nullptr)
        return {};
    return toScreenRect(dialog->mapDialogRect(units.x, units.y, units.cx, units.cy));
}

ScreenRect Window::primaryWorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? ScreenRect{0, 0, 1024, 768}
                             : toScreenRect(screen->availableGeometry());
}

ScreenRect Window::nearestWorkArea() const {
    QWidget* widget = WindowRegistry::widget(m_handle);
    QScreen* screen = nullptr;
    if (widget != nullptr)
        screen = QGuiApplication::screenAt(widget->frameGeometry().center());
    if (screen == nullptr && widget != nullptr)
        screen = widget->screen();
    return screen == nullptr ? primaryWorkArea() : toScreenRect(screen->availableGeometry());
}

Window Window::focused() {
    return Window(WindowRegistry::handleOf(QApplication::focusWidget()));
}

} // namespace platform
