#include "support/ScriptedMessageBoxes.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

namespace test {

ScriptedMessageBoxes::ScriptedMessageBoxes() { platform::Services::install(this); }

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    platform::Services::install(static_cast<platform::MessageBoxService*>(nullptr));
    EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " scripted message box answer(s) unused";
}

ScriptedMessageBoxes& ScriptedMessageBoxes::answer(int button) {
    return answer([button](const Shown&) { return button; });
}

ScriptedMessageBoxes& ScriptedMessageBoxes::answer(Reply reply) {
    m_replies.push_back(std::move(reply));
    return *this;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const {
    std::vector<std::string> result;
    for (const Shown& box : m_shown)
        result.push_back(box.text);
    return result;
}

int ScriptedMessageBoxes::show(const platform::MessageBoxRequest& request) {
    Shown box{request.text, request.caption, request.type, request.owner.text()};
    m_shown.push_back(box);
    if (m_replies.empty()) {
        ADD_FAILURE() << "unscripted message box \"" << box.text << "\" captioned \"" << box.caption
                      << "\" type 0x" << std::hex << box.type;
        return 2;
    }
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    return reply(box);
}

} // namespace test
