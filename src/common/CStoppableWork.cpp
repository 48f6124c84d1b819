#include "common/CStoppableWork.h"

#include "common/CDialog.h"
#include "common/COperationStopped.h"

#include "platform/gui/DialogHost.h"
#include "platform/gui/EventPump.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/TerminationSignals.h"

#include <utility>

namespace {

CStoppableWork* current = nullptr;

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
    current = m_outer;
    platform::EventPump::takeStopRequest();
    if (current == nullptr) {
        platform::TerminationSignals::workEnds();
        platform::TerminationSignals::endIfSignalled();
    }
}

void CStoppableWork::CheckNow() {
    if (platform::TerminationSignals::stopForced() && current != nullptr)
        throw COperationStopped();
    if (!platform::EventPump::takeStopRequest() || current == nullptr)
        return;
    const platform::DialogHost::PlainPointer asking;
    const int answer =
        current->m_dialog.MessageBox(current->m_question, current->m_caption, question);
    if (answer == platform::MessageBoxAnswer::ok || platform::TerminationSignals::stopForced())
        throw COperationStopped();
}
