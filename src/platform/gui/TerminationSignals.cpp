#include "platform/gui/TerminationSignals.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace platform {

namespace {

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};

std::atomic<bool> working{false};
std::atomic<int> received{0};
int wakeUp[2] = {-1, -1};

void endBy(int number) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
    raise(number);
}

void onSignal(int number) {
    if (!working || received != 0) {
        endBy(number);
        return;
    }
    received = number;
    if (wakeUp[1] >= 0) {
        const int saved = errno;
        [[maybe_unused]] const ssize_t ignored = write(wakeUp[1], "s", 1);
        errno = saved;
    }
}

// Read by the event loop while work runs: a message box the work waits on is closed, so that the
// work sees the stop at once. The operation's own dialog, modal too, stays.
void readWakeUp() {
    char drained[64];
    while (read(wakeUp[0], drained, sizeof drained) > 0) {
    }
    if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        question->reject();
}

} // namespace

void TerminationSignals::install() {
    if (wakeUp[0] < 0 && pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        wakeUp[0] = wakeUp[1] = -1;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : handled)
        sigaction(number, &action, nullptr);
}

void TerminationSignals::workBegins() {
    static QSocketNotifier* notifier = nullptr;
    if (notifier == nullptr && wakeUp[0] >= 0 && QCoreApplication::instance() != nullptr) {
        notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, [] { readWakeUp(); });
    }
    working = true;
}

void TerminationSignals::workEnds() {
    working = false;
}

bool TerminationSignals::stopForced() {
    return received != 0;
}

void TerminationSignals::endIfSignalled() {
    if (const int number = received; number != 0)
        endBy(number);
}

} // namespace platform
