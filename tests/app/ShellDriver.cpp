#include "app/ShellDriver.h"

#include "common/CDialog.h"
#include "platform/DialogHost.h"
#include "platform/DialogWindow.h"
#include "platform/WindowRegistry.h"
#include "support/Ui.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
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

void ShellDriver::whileModalUp(const std::function<void()>& action,
                               const std::function<void(QWidget* modal)>& body,
                               const std::function<bool(QWidget* modal)>& wanted) {
    QWidget* before = QApplication::activeModalWidget();
    bool ran = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (ran || modal == nullptr || modal == before || !modal->isVisible() ||
            (wanted && !wanted(modal)))
            return;
        ran = true;
        poll.stop();
        QPointer<QWidget> guard(modal);
        body(modal);
        if (guard.isNull() || !guard->isVisible())
            return;
        if (dynamic_cast<platform::DialogWindow*>(guard.data()) != nullptr)
            platform::DialogHost::sendCommand(
                platform::Window(platform::WindowRegistry::handleOf(guard)), 2);
        else if (auto* dialog = qobject_cast<QDialog*>(guard.data()))
            dialog->reject();
    });
    poll.start(5);
    action();
    poll.stop();
    EXPECT_TRUE(ran) << "no modal window opened";
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
    // The desktop gives keys to the active window only.
    ASSERT_TRUE(QTest::qWaitForWindowActive(top, 5000))
        << "the window did not become active in 5 s";
    QTest::keyClick(top->windowHandle(), key, modifiers);
}

} // namespace test
