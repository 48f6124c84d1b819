#include "operations/JoinDriver.h"

#include "operations/CJoinDlg.h"
#include "platform/DialogWindow.h"
#include "platform/ProgressBar.h"
#include "platform/WindowRegistry.h"
#include "support/Modal.h"
#include "support/Ui.h"

#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace test {

namespace {

constexpr int nameId = 1007;
constexpr int joinId = 1009;
constexpr int barId = 1020;

bool isBusy(platform::Window dialog) {
    auto* window =
        dynamic_cast<platform::DialogWindow*>(platform::WindowRegistry::widget(dialog.handle()));
    return window != nullptr && window->isBusy();
}

JoinDriver::Bar barOf(platform::Window dialog) {
    const platform::ProgressBar bar(dialog.child(barId));
    return {bar.low(), bar.high(), bar.position()};
}

std::uint64_t sizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Typed key by key where the test keyboard has the keys; other names are pasted in whole.
void enterName(platform::Window dialog, const std::string& name) {
    if (isAscii(name))
        Ui::type(dialog, nameId, name);
    else
        dialog.child(nameId).setText(name);
}

} // namespace

std::vector<std::string> JoinDriver::Outcome::texts() const {
    std::vector<std::string> result;
    for (const Box& box : boxes)
        result.push_back(box.shown.text);
    return result;
}

JoinDriver& JoinDriver::answer(int button) {
    m_answers.push_back(button);
    return *this;
}

JoinDriver& JoinDriver::watch(const std::string& target) {
    m_target = target;
    return *this;
}

JoinDriver& JoinDriver::whileMoving(Hook hook) {
    m_whileMoving = std::move(hook);
    return *this;
}

JoinDriver& JoinDriver::within(int seconds) {
    m_seconds = seconds;
    return *this;
}

JoinDriver::Outcome JoinDriver::run(const std::string& firstSegment) {
    return runEach({firstSegment}).front();
}

std::vector<JoinDriver::Outcome>
JoinDriver::runEach(const std::vector<std::string>& names,
                    const std::function<void(std::size_t join)>& between) {
    std::vector<Outcome> outcomes(names.size());
    Outcome* current = nullptr;
    platform::Window window;
    ScriptedMessageBoxes boxes;
    for (int button : m_answers) {
        boxes.answer([&, button](const ScriptedMessageBoxes::Shown& shown) {
            current->boxes.push_back({shown, barOf(window), isBusy(window)});
            return button;
        });
    }
    Modal::run(
        m_dialog,
        [&](platform::Window dialog) {
            window = dialog;
            for (std::size_t k = 0; k < names.size(); ++k) {
                current = &outcomes[k];
                if (k > 0 && between)
                    between(k);
                enterName(dialog, names[k]);
                current->before = barOf(dialog);
                // A zero-interval timer fires at every pump the transfer makes between its chunks.
                QTimer pump;
                QObject::connect(&pump, &QTimer::timeout, [&] {
                    current->samples.push_back({barOf(dialog), sizeOf(m_target), isBusy(dialog)});
                    if (m_whileMoving)
                        m_whileMoving(dialog);
                });
                pump.start(0);
                Ui::click(dialog, joinId);
                pump.stop();
                current->after = barOf(dialog);
                current->openAfter = dialog.isVisible();
                if (!current->openAfter)
                    break;
            }
        },
        m_seconds);
    return outcomes;
}

} // namespace test
