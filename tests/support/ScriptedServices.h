#pragma once

#include "platform/FileChooserService.h"
#include "platform/FreeSpaceService.h"
#include "platform/HelpViewerService.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace test {

// The file-open dialog, answered from a script while the object lives.
class ScriptedFileChooser final : public platform::FileChooserService {
public:
    ScriptedFileChooser();
    ~ScriptedFileChooser() override;
    // The next dialog is confirmed with that path.
    ScriptedFileChooser& choose(const std::string& path);
    ScriptedFileChooser& cancel();
    const std::vector<platform::FileChooserRequest>& requests() const { return m_requests; }
    platform::FileChooserAnswer chooseFileToOpen(const platform::FileChooserRequest& request) override;

private:
    std::deque<platform::FileChooserAnswer> m_answers;
    std::vector<platform::FileChooserRequest> m_requests;
};

// The free-space query of drive A:, answered from a script while the object lives.
class ScriptedFreeSpace final : public platform::FreeSpaceService {
public:
    using Reply = std::function<std::optional<std::uint64_t>()>;
    ScriptedFreeSpace();
    ~ScriptedFreeSpace() override;
    ScriptedFreeSpace& answer(std::optional<std::uint64_t> freeBytes);
    ScriptedFreeSpace& answer(Reply reply);
    int queries() const { return m_queries; }
    std::optional<std::uint64_t> freeBytesOnDriveA() override;

private:
    std::deque<Reply> m_replies;
    int m_queries = 0;
};

// The help viewer: records each request and answers from a script while the object lives.
class ScriptedHelpViewer final : public platform::HelpViewerService {
public:
    struct Request {
        std::string helpFile;
        unsigned context = 0;
    };
    ScriptedHelpViewer();
    ~ScriptedHelpViewer() override;
    ScriptedHelpViewer& answer(bool started);
    const std::vector<Request>& requests() const { return m_requests; }
    bool showHelp(const std::string& helpFile, unsigned context) override;

private:
    std::deque<bool> m_answers;
    std::vector<Request> m_requests;
};

} // namespace test
