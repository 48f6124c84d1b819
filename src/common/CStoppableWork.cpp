#include "common/CStoppableWork.h"

#include "common/CDialog.h"
#include "common/COperationStopped.h"

#include "platform/gui/DialogHost.h"
#include "platform/gui/EventPump.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/TerminationSignals.h"

#include <atomic>
#include <utility>

namespace {

CStoppableWork* current = nullptr;
// Set on the GUI thread while the question is up or the work is stopping; read by the worker.
std::atomic<bool> holding{false};

constexpr unsigned question = platform::MessageBoxType::okCancel |
                              platform::MessageBoxType::iconQuestion |
                              platform::MessageBoxType::defaultButton2;

} // namespace

CStoppableWork::CStoppableWork(CDialog& dialog, std::string question,
                               std::optional<std::string> caption)
    : m_dialog(dialog), m_question(std::move(question)), m_caption(std::move(caption)),
      m_outer(current) {
    platform::EventPump::takeStopRequest();
    platform::TerminationSignals::workBegins();
    current = this;
}

// Runs once the work has removed what it wrote: a signal that stopped it now ends the program.
CStoppableWork::~CStoppableWork() {
    if (m_title)
        m_dialog.GetSafeHwnd().setText(*m_title);
    holding = false;
    current = m_outer;
    platform::EventPump::takeStopRequest();
    if (current == nullptr) {
        platform::TerminationSignals::workEnds();
        platform::TerminationSignals::endIfSignalled();
    }
}

void CStoppableWork::CheckNow() {
    if (current == nullptr) {
        platform::EventPump::takeStopRequest();
        return;
    }
    if (current->m_title || platform::TerminationSignals::stopForced())
        throw COperationStopped();
    if (platform::EventPump::takeStopRequest() && Ask())
        throw COperationStopped();
}

void CStoppableWork::AskWhileWaiting() {
    if (current == nullptr || current->m_title || !platform::EventPump::takeStopRequest())
        return;
    if (Ask())
        current->ShowStopping();
}

bool CStoppableWork::LetsGo() {
    return holding.load() || platform::EventPump::stopRequested() ||
           platform::TerminationSignals::stopForced();
}

// Whether the user (or a signal meanwhile) stops the work.
bool CStoppableWork::Ask() {
    holding = true;
    const platform::DialogHost::PlainPointer asking;
    const int answer =
        current->m_dialog.MessageBox(current->m_question, current->m_caption, question);
    const bool stop =
        answer == platform::MessageBoxAnswer::ok || platform::TerminationSignals::stopForced();
    holding = stop;
    return stop;
}

void CStoppableWork::ShowStopping() {
    platform::Window dialog = m_dialog.GetSafeHwnd();
    m_title = dialog.text();
    dialog.setText("Stopping… " + *m_title);
}
