#include "platform/gui/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> stopAsked{false};

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Installed on the application while events are pumped: input never reaches a window, and a
// request to stop is remembered instead of closing anything.
class InputWhileWorking final : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            stopAsked = true;
        if (event->type() == QEvent::Close && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            stopAsked = true;
            event->ignore();
            return true;
        }
        return isInput(event->type());
    }
};

} // namespace

void EventPump::pumpWithoutInput() {
    if (QCoreApplication::instance() == nullptr)
        return;
    InputWhileWorking filter;
    QCoreApplication::instance()->installEventFilter(&filter);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(&filter);
}

bool EventPump::takeStopRequest() {
    return stopAsked.exchange(false);
}

bool EventPump::stopRequested() {
    return stopAsked;
}

} // namespace platform
