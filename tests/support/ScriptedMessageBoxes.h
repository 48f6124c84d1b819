#pragma once

#include "platform/MessageBoxAnswer.h"
#include "support/ScriptedServices.h"

namespace test {

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
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Shown& box : shown())
            result.push_back(box.text);
        return result;
    }
    int show(const platform::MessageBoxRequest& r) override {
        return next({r.text, r.caption, r.type, r.owner.text()},
                    "message box \"" + r.text + "\" captioned \"" + r.caption + "\"",
                    platform::MessageBoxAnswer::cancel);
    }
};

} // namespace test
