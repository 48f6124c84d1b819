#include "platform/gui/DialogHost.h"

#include "platform/codecs/IconImage.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/SystemCommand.h"
#include "platform/gui/WindowRegistry.h"

#include <QApplication>
#include <QTimer>

namespace platform {

namespace {

std::vector<WindowHandle>& modalStack() {
    static std::vector<WindowHandle> stack;
    return stack;
}

DialogWindow* dialogOf(Window window) {
    return dynamic_cast<DialogWindow*>(WindowRegistry::widget(window.handle()));
}

QWidget* currentOwner() {
    for (auto it = modalStack().rbegin(); it != modalStack().rend(); ++it) {
        if (QWidget* widget = WindowRegistry::widget(*it))
            return widget;
    }
    return nullptr;
}

} // namespace

int DialogHost::runModal(const DialogTemplate& resource, DialogEvents& events) {
    if (QApplication::instance() == nullptr || resource.cx <= 0 || resource.cy <= 0)
        return -1;
    DialogWindow window(resource, events, currentOwner());
    const WindowHandle handle = WindowRegistry::handleOf(&window);
    modalStack().push_back(handle);
    const bool focusFirst = events.onInitDialog(Window(handle));
    int result = -1;
    if (window.result() == 0 && !window.property("sundrelEnded").toBool()) {
        if (focusFirst)
            window.focusFirstTabStop();
        result = window.run();
    } else {
        result = window.property("sundrelResult").toInt();
    }
    modalStack().pop_back();
    // The owner takes the keyboard again, as it would have had the dialog never opened.
    if (QWidget* owner = window.parentWidget(); owner != nullptr && owner->isVisible())
        owner->activateWindow();
    return result;
}

void DialogHost::endModal(Window dialog, int result) {
    DialogWindow* window = dialogOf(dialog);
    if (window == nullptr)
        return;
    window->setProperty("sundrelEnded", true);
    window->setProperty("sundrelResult", result);
    window->done(result);
}

Window DialogHost::activeModal() {
    return Window(WindowRegistry::handleOf(currentOwner()));
}

void DialogHost::appendSystemMenuItem(Window dialog, const std::string& text, unsigned id) {
    if (DialogWindow* window = dialogOf(dialog))
        window->appendSystemMenuItem(text, id);
}

void DialogHost::defaultSysCommand(Window dialog, unsigned id) {
    DialogWindow* window = dialogOf(dialog);
    if (window == nullptr)
        return;
    if ((id & SystemCommand::kindMask) == SystemCommand::minimize)
        window->showMinimized();
    else if ((id & SystemCommand::kindMask) == SystemCommand::close)
        window->sendCommand(DialogCommand::cancel);
}

void DialogHost::setBusy(Window dialog, bool busy, std::span<const int> greyed) {
    if (DialogWindow* window = dialogOf(dialog))
        window->setBusy(busy, greyed);
}

DialogHost::PlainPointer::PlainPointer() {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

DialogHost::PlainPointer::~PlainPointer() {
    QApplication::restoreOverrideCursor();
}

void DialogHost::sendCommand(Window dialog, int id) {
    if (DialogWindow* window = dialogOf(dialog))
        window->sendCommand(id);
}

void DialogHost::postCommand(Window dialog, int id) {
    if (DialogWindow* window = dialogOf(dialog)) {
        QTimer::singleShot(0, window, [window, id] {
            if (window->isVisible())
                window->sendCommand(id);
        });
    }
}

void DialogHost::sendSysCommand(Window dialog, unsigned id) {
    if (DialogWindow* window = dialogOf(dialog); window != nullptr && !window->isBusy())
        window->events().onSysCommand(id);
}

void DialogHost::setIcon(Window dialog, std::span<const unsigned char> icoBytes) {
    DialogWindow* window = dialogOf(dialog);
    if (window == nullptr)
        return;
    if (const auto icon = IconImage::parse(icoBytes))
        window->setWindowIcon(icon->icon());
}

} // namespace platform
