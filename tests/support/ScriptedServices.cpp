#include "support/ScriptedServices.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

namespace test {

ScriptedFileChooser::ScriptedFileChooser() { platform::Services::install(this); }

ScriptedFileChooser::~ScriptedFileChooser() {
    platform::Services::install(static_cast<platform::FileChooserService*>(nullptr));
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted file dialog answer(s) unused";
}

ScriptedFileChooser& ScriptedFileChooser::choose(const std::string& path) {
    m_answers.push_back({1, path});
    return *this;
}

ScriptedFileChooser& ScriptedFileChooser::cancel() {
    m_answers.push_back({0, {}});
    return *this;
}

platform::FileChooserAnswer ScriptedFileChooser::chooseFileToOpen(const platform::FileChooserRequest& request) {
    m_requests.push_back(request);
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted file dialog";
        return {};
    }
    auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

ScriptedFreeSpace::ScriptedFreeSpace() { platform::Services::install(this); }

ScriptedFreeSpace::~ScriptedFreeSpace() {
    platform::Services::install(static_cast<platform::FreeSpaceService*>(nullptr));
    EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " scripted free-space answer(s) unused";
}

ScriptedFreeSpace& ScriptedFreeSpace::answer(std::optional<std::uint64_t> freeBytes) {
    return answer([freeBytes] { return freeBytes; });
}

ScriptedFreeSpace& ScriptedFreeSpace::answer(Reply reply) {
    m_replies.push_back(std::move(reply));
    return *this;
}

std::optional<std::uint64_t> ScriptedFreeSpace::freeBytesOnDriveA() {
    ++m_queries;
    if (m_replies.empty()) {
        ADD_FAILURE() << "unscripted free-space query";
        return std::nullopt;
    }
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    return reply();
}

ScriptedHelpViewer::ScriptedHelpViewer() { platform::Services::install(this); }

ScriptedHelpViewer::~ScriptedHelpViewer() {
    platform::Services::install(static_cast<platform::HelpViewerService*>(nullptr));
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted help answer(s) unused";
}

ScriptedHelpViewer& ScriptedHelpViewer::answer(bool started) {
    m_answers.push_back(started);
    return *this;
}

bool ScriptedHelpViewer::showHelp(const std::string& helpFile, unsigned context) {
    m_requests.push_back({helpFile, context});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted help request 0x" << std::hex << context;
        return false;
    }
    const bool started = m_answers.front();
    m_answers.pop_front();
    return started;
}

} // namespace test
