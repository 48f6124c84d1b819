#include "operations/FloppyDriver.h"

#include "operations/CFloppySplitDlg.h"
#include "platform/Animation.h"
#include "platform/DialogHost.h"
#include "platform/DialogWindow.h"
#include "platform/WindowRegistry.h"
#include "resources/DialogTemplates.h"
#include "support/Modal.h"
#include "support/Ui.h"

#include <QTimer>

#include <algorithm>

namespace test {

namespace {

constexpr int pathId = 1001;
constexpr int browseId = 1002;
constexpr int splitId = 1003;
constexpr int doneId = 1;
constexpr int animationId = 1019;

bool isBusy(platform::Window dialog) {
    auto* window =
        dynamic_cast<platform::DialogWindow*>(platform::WindowRegistry::widget(dialog.handle()));
    return window != nullptr && window->isBusy();
}

} // namespace

std::vector<std::string> FloppyDriver::Outcome::texts() const {
    std::vector<std::string> result;
    for (const Box& box : boxes)
        result.push_back(box.shown.text);
    return result;
}

FloppyDriver& FloppyDriver::answer(int button) {
    return answer([button](const ScriptedMessageBoxes::Shown&) { return button; });
}

FloppyDriver& FloppyDriver::answer(Reply reply) {
    m_replies.push_back(std::move(reply));
    return *this;
}

FloppyDriver& FloppyDriver::whileWriting(Hook hook) {
    m_whileWriting = std::move(hook);
    return *this;
}

FloppyDriver& FloppyDriver::closeWhileWriting() {
    m_closeWhileWriting = true;
    return *this;
}

FloppyDriver::Look FloppyDriver::lookOf(platform::Window dialog) {
    Look look;
    const platform::ScreenRect outer = dialog.rect();
    const platform::ScreenRect client = dialog.clientRect();
    look.clientHeight = client.height();
    look.clientWidth = client.width();
    look.frameHeight = outer.height() - client.height();
    const platform::DialogTemplate* resource = resources::DialogTemplates::Find(132);
    const platform::ScreenRect full = dialog.mapDialogRect({0, 0, resource->cx, resource->cy});
    look.fullHeight = full.height();
    look.fullWidth = full.width();
    look.buttonsBottom =
        std::max(dialog.child(splitId).rect().bottom, dialog.child(doneId).rect().bottom) -
        client.top;
    look.stripTop = dialog.child(animationId).rect().top - client.top;
    look.splitEnabled = dialog.child(splitId).isEnabled();
    look.doneEnabled = dialog.child(doneId).isEnabled();
    look.browseEnabled = dialog.child(browseId).isEnabled();
    look.animating = platform::Animation(dialog.child(animationId)).isPlaying();
    look.busy = isBusy(dialog);
    return look;
}

FloppyDriver::Outcome FloppyDriver::run(const std::string& pathText) {
    Outcome outcome;
    ScriptedMessageBoxes boxes;
    platform::Window window;
    for (Reply& reply : m_replies) {
        boxes.answer([&outcome, &window, reply](const ScriptedMessageBoxes::Shown& shown) {
            outcome.boxes.push_back({shown, lookOf(window)});
            return reply(shown);
        });
    }
    Modal::run(m_dialog, [&](platform::Window dialog) {
        window = dialog;
        Ui::type(dialog, pathId, pathText);
        outcome.opened = lookOf(dialog);
        // A zero-interval timer fires at every pump the transfer makes between its chunks.
        bool closeAsked = false;
        QTimer pump;
        QObject::connect(&pump, &QTimer::timeout, [&] {
            if (!isBusy(dialog))
                return;
            outcome.whileWriting.push_back(lookOf(dialog));
            if (m_whileWriting)
                m_whileWriting(dialog);
            if (m_closeWhileWriting && !closeAsked) {
                closeAsked = true;
                platform::DialogHost::sendCommand(dialog, 2);
            }
        });
        pump.start(0);
        Ui::click(dialog, splitId);
        pump.stop();
        outcome.openAfter = dialog.isVisible();
        if (outcome.openAfter)
            outcome.after = lookOf(dialog);
    });
    return outcome;
}

} // namespace test
