#include "app/ShellDriver.h"

#include "common/CDialog.h"
#include "platform/DialogHost.h"
#include "platform/WindowRegistry.h"
#include "support/Ui.h"

#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace test {

std::vector<int> ShellDriver::dialogsOpenedBy(const std::function<void()>& action) {
    std::vector<int> opened;
    std::vector<platform::WindowHandle> seen{platform::DialogHost::activeModal().handle()};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        platform::Window now = platform::DialogHost::activeModal();
        if (!now.isVisible() || std::find(seen.begin(), seen.end(), now.handle()) != seen.end())
            return;
        seen.push_back(now.handle());
        opened.push_back(resourceOf(now));
        platform::DialogHost::sendCommand(now, 2);
    });
    poll.start(5);
    action();
    // A dialog opened by a queued event shows itself within a few turns of the loop.
    QTest::qWait(30);
    return opened;
}

int ShellDriver::resourceOf(platform::Window dialog) {
    CDialog* object = CDialog::FromWindow(dialog);
    return object == nullptr ? 0 : object->GetTemplateId();
}

int ShellDriver::focusedId(platform::Window dialog) {
    QWidget* focus = Ui::focusedControl(dialog);
    return focus == nullptr ? 0 : platform::WindowRegistry::controlId(focus);
}

void ShellDriver::clickThroughDesktop(QWidget* control, Qt::MouseButton button) {
    ASSERT_NE(control, nullptr);
    QWidget* top = control->window();
    ASSERT_NE(top->windowHandle(), nullptr) << "the window is not on screen";
    const QPoint at = control->mapTo(top, control->rect().center());
    QTest::mouseClick(top->windowHandle(), button, Qt::NoModifier, at);
}

void ShellDriver::clickAt(platform::Window dialog, QPoint at, Qt::MouseButton button) {
    QWidget* top = Ui::widget(dialog);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(top->windowHandle(), nullptr) << "the window is not on screen";
    QTest::mouseClick(top->windowHandle(), button, Qt::NoModifier, at);
}

void ShellDriver::keyThroughDesktop(platform::Window dialog, Qt::Key key,
                                    Qt::KeyboardModifiers modifiers) {
    QWidget* top = Ui::widget(dialog);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(top->windowHandle(), nullptr) << "the window is not on screen";
    QTest::keyClick(top->windowHandle(), key, modifiers);
}

} // namespace test
