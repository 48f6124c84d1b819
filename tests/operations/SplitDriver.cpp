#include "operations/SplitDriver.h"

#include "common/CDialog.h"
#include "common/CFile.h"
#include "platform/DialogWindow.h"
#include "platform/ProgressBar.h"
#include "platform/WindowRegistry.h"
#include "support/Modal.h"
#include "support/Ui.h"

#include <QTimer>

namespace test {

namespace {

constexpr int pathId = 1001;
constexpr int splitId = 1003;
constexpr int barId = 1020;

bool isHeld(const std::string& path) {
    CFile second;
    CFileException error;
    return !second.Open(path, CFile::modeRead | CFile::typeBinary, &error) &&
           error.m_cause == CFileException::sharingViolation;
}

} // namespace

bool SplitDriver::isBusy(platform::Window dialog) {
    auto* window =
        dynamic_cast<platform::DialogWindow*>(platform::WindowRegistry::widget(dialog.handle()));
    return window != nullptr && window->isBusy();
}

SplitDriver& SplitDriver::whileMoving(Hook hook) {
    m_whileMoving = std::move(hook);
    return *this;
}

std::vector<SplitDriver::Box> SplitDriver::boxesOf(const ScriptedMessageBoxes& boxes) {
    std::vector<Box> result;
    for (const ScriptedMessageBoxes::Shown& shown : boxes.shown())
        result.push_back({shown.text, shown.caption, shown.type});
    return result;
}

SplitDriver::Outcome SplitDriver::run(const std::string& path, const std::string& amount) {
    Outcome outcome;
    ScriptedMessageBoxes boxes;
    platform::Window window;
    boxes.answer([&](const ScriptedMessageBoxes::Shown&) {
        outcome.busyAtBox = isBusy(window);
        outcome.sourceHeldAtBox = isHeld(path);
        return 1;
    });
    Modal::run(m_dialog, [&](platform::Window dialog) {
        window = dialog;
        Ui::type(dialog, pathId, path);
        Ui::type(dialog, m_amountId, amount);
        // A zero-interval timer fires at every pump the transfer makes between its chunks.
        QTimer pump;
        if (m_whileMoving) {
            QObject::connect(&pump, &QTimer::timeout, [&] { m_whileMoving(dialog); });
            pump.start(0);
        }
        Ui::click(dialog, splitId);
        pump.stop();
        const platform::ProgressBar bar(dialog.child(barId));
        outcome.barLow = bar.low();
        outcome.barHigh = bar.high();
        outcome.barPosition = bar.position();
        outcome.openAfter = dialog.isVisible();
        outcome.pathText = Ui::text(dialog, pathId);
        outcome.amountText = Ui::text(dialog, m_amountId);
    });
    outcome.boxes = boxesOf(boxes);
    return outcome;
}

} // namespace test
