#pragma once

#include "platform/MessageBoxService.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace test {

// Stands in for the message boxes while it lives: records every box and answers from a script.
// A box nobody scripted fails the test (and is answered Cancel, so loops end); answers left over
// when the object goes fail it too.
class ScriptedMessageBoxes final : public platform::MessageBoxService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned type = 0;
        std::string ownerCaption;
    };
    using Reply = std::function<int(const Shown&)>;

    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;

    // The next box is answered with that button (1 OK, 2 Cancel, 6 Yes, 7 No).
    ScriptedMessageBoxes& answer(int button);
    // The next box is answered by running this while the box would be on screen.
    ScriptedMessageBoxes& answer(Reply reply);

    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<std::string> texts() const;
    int show(const platform::MessageBoxRequest& request) override;

private:
    std::deque<Reply> m_replies;
    std::vector<Shown> m_shown;
};

} // namespace test
