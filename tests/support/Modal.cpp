#include "support/Modal.h"

#include "common/CDialog.h"
#include "platform/DialogHost.h"
#include "platform/WindowRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace test {

namespace {

void closeIfOpen(platform::Window dialog) {
    if (dialog.isVisible())
        platform::DialogHost::sendCommand(dialog, 2);
}

} // namespace

int Modal::run(CDialog& dialog, Body body, int seconds) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [seconds] {
        ADD_FAILURE() << "a modal dialog was still running after " << seconds << " s";
        closeAll();
    });
    watchdog.start(seconds * 1000);
    QTimer::singleShot(0, [&dialog, &body] {
        platform::Window window = dialog.GetSafeHwnd();
        if (!window.exists()) {
            ADD_FAILURE() << "the dialog did not open";
            return;
        }
        body(window);
        closeIfOpen(window);
    });
    return dialog.DoModal();
}

void Modal::whenOpens(const std::function<void()>& trigger, Body body) {
    const platform::Window before = platform::DialogHost::activeModal();
    bool ran = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        platform::Window now = platform::DialogHost::activeModal();
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

void Modal::closeAll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible())
            dialog->done(2);
    }
}

} // namespace test
