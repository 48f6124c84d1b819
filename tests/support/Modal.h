#pragma once

#include "common/CDialog.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogHost.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace test {

// Drives modal dialogs from inside their own loops, with every wait bounded.
class Modal final {
  public:
    using Body = std::function<void(platform::Window dialog)>;

    // Runs the dialog; `body` runs once it is up. A dialog still open after the body is closed
    // with command 2 (Esc). After `seconds` the test fails, and from then on every modal window
    // is closed as it comes, so a body that keeps opening boxes still ends.
    static int run(CDialog& dialog, Body body, int seconds = 60) {
        QTimer watchdog; // its end stops the closing
        QObject::connect(&watchdog, &QTimer::timeout, [&watchdog, seconds] {
            if (watchdog.interval() != closingInterval)
                ADD_FAILURE() << "a modal dialog was still running after " << seconds << " s";
            watchdog.start(closingInterval);
            closeAll();
        });
        watchdog.start(seconds * 1000);
        QTimer::singleShot(0, [&dialog, &body] {
            const platform::Window window = dialog.GetSafeHwnd();
            ASSERT_TRUE(window.exists()) << "the dialog did not open";
            body(window);
            closeIfOpen(window);
        });
        return dialog.DoModal();
    }
    // Calls `trigger`, which opens another modal dialog; `body` runs inside that dialog, which is
    // closed with command 2 when the body leaves it open. Fails the test when none opens.
    static void whenOpens(const std::function<void()>& trigger, Body body) {
        const platform::Window before = platform::DialogHost::activeModal();
        bool ran = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const platform::Window now = platform::DialogHost::activeModal();
            if (ran || now.handle() == before.handle() || !now.isVisible())
                return;
            ran = true;
            poll.stop();
            body(now);
            closeIfOpen(now);
        });
        poll.start(5);
        trigger();
        poll.stop();
        EXPECT_TRUE(ran) << "no modal dialog opened";
    }
    static void closeAll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                dialog->done(platform::DialogCommand::cancel);
        }
    }

  private:
    static constexpr int closingInterval = 100; // ms

    static void closeIfOpen(platform::Window dialog) {
        if (dialog.isVisible())
            platform::DialogHost::sendCommand(dialog, platform::DialogCommand::cancel);
    }
};

} // namespace test
