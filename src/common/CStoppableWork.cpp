#include "common/CStoppableWork.h"

#include "common/CDialog.h"
#include "common/COperationStopped.h"

#include "platform/gui/DialogHost.h"
#include "platform/gui/EventPump.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"

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
    current = this;
}

CStoppableWork::~CStoppableWork() {
    current = m_outer;
    platform::EventPump::takeStopRequest();
}

void CStoppableWork::CheckNow() {
    if (!platform::EventPump::takeStopRequest() || current == nullptr)
        return;
    const platform::DialogHost::PlainPointer asking;
    if (current->m_dialog.MessageBox(current->m_question, current->m_caption, question) ==
        platform::MessageBoxAnswer::ok)
        throw COperationStopped();
}
