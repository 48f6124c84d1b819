#pragma once

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/Services.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace test {

// Stands in for a desktop service while it lives: records every request and answers it from a
// script, with an answer or a reply run while the request is up. A request nobody scripted fails
// the test (and gets `otherwise`, so loops end); answers left unused fail it too.
template <typename Self, typename Service, typename Request, typename Answer>
class Scripted : public Service {
  public:
    using Reply = std::function<Answer(const Request&)>;
    Scripted() { platform::Services::install(static_cast<Service*>(this)); }
    ~Scripted() override {
        platform::Services::install(static_cast<Service*>(nullptr));
        EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " scripted answer(s) unused";
    }
    Self& answer(Answer given) {
        return answer([given](const Request&) { return given; });
    }
    Self& answer(Reply reply) {
        m_replies.push_back(std::move(reply));
        return static_cast<Self&>(*this);
    }
    const std::vector<Request>& requests() const { return m_requests; }

  protected:
    Answer next(const Request& request, const std::string& what, Answer otherwise = {}) {
        m_requests.push_back(request);
        if (m_replies.empty()) {
            ADD_FAILURE() << "unscripted " << what;
            return otherwise;
        }
        const Reply reply = std::move(m_replies.front());
        m_replies.pop_front();
        return reply(request);
    }

  private:
    std::deque<Reply> m_replies;
    std::vector<Request> m_requests;
};

// The file-open dialog: each one confirmed with a path or cancelled.
class ScriptedFileChooser final
    : public Scripted<ScriptedFileChooser, platform::FileChooserService,
                      platform::FileChooserRequest, platform::FileChooserAnswer> {
  public:
    ScriptedFileChooser& choose(const std::string& path) { return answer({1, path}); }
    ScriptedFileChooser& cancel() { return answer(platform::FileChooserAnswer{}); }
    platform::FileChooserAnswer chooseFileToOpen(const platform::FileChooserRequest& r) override {
        return next(r, "file dialog");
    }
};

struct HelpRequest {
    std::string helpFile;
    unsigned context = 0;
};

// The help viewer: each request answered with whether the viewer started.
class ScriptedHelpViewer final
    : public Scripted<ScriptedHelpViewer, platform::HelpViewerService, HelpRequest, bool> {
  public:
    bool showHelp(const std::string& helpFile, unsigned context) override {
        return next({helpFile, context}, "help request " + std::to_string(context));
    }
};

struct ShownBox {
    std::string text, caption;
    unsigned type = 0;
    std::string ownerCaption;
};

// The message boxes, each answered with a button (a platform::MessageBoxAnswer) or by a reply
// that runs while the box would be on screen. An unscripted box is answered Cancel.
class ScriptedMessageBoxes final
    : public Scripted<ScriptedMessageBoxes, platform::MessageBoxService, ShownBox, int> {
  public:
    using Shown = ShownBox;
    const std::vector<Shown>& shown() const { return requests(); }
    int show(const platform::MessageBoxRequest& r) override {
        return next({r.text, r.caption, r.type, r.owner.text()},
                    "message box \"" + r.text + "\" captioned \"" + r.caption + "\"",
                    platform::MessageBoxAnswer::cancel);
    }
};

} // namespace test
