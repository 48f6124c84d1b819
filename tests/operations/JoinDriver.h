#pragma once

#include "platform/Window.h"
#include "support/ScriptedMessageBoxes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CJoinDlg;

namespace test {

// Runs joins the way a user does: opens the join dialog, types the first segment's name, clicks
// "&Join" and answers the message boxes from a script, recording what the user saw on the way.
class JoinDriver final {
  public:
    struct Bar {
        int low = 0;
        int high = 0;
        int position = 0;
        bool operator==(const Bar&) const = default;
    };
    struct Box {
        ScriptedMessageBoxes::Shown shown;
        Bar bar;   // the bar while the box was up
        bool busy; // the dialog refused commands while the box was up
    };
    // Taken at every event pump while the segments are moved.
    struct Sample {
        Bar bar;
        std::uint64_t targetSize;
        bool busy;
    };
    struct Outcome {
        std::vector<Box> boxes;
        std::vector<Sample> samples;
        Bar before; // the bar just before the click
        Bar after;
        bool openAfter = false;
        std::vector<std::string> texts() const;
    };
    using Hook = std::function<void(platform::Window dialog)>;

    explicit JoinDriver(CJoinDlg& dialog) : m_dialog(dialog) {}

    // The next box is answered with that button (1 OK, 2 Cancel).
    JoinDriver& answer(int button);
    // While segments move, the size of this file is sampled along with the bar.
    JoinDriver& watch(const std::string& target);
    // Runs at every sample, inside the join.
    JoinDriver& whileMoving(Hook hook);
    // The bound on the whole opening of the dialog (60 s unless given).
    JoinDriver& within(int seconds);

    // One opening of the dialog and one join.
    Outcome run(const std::string& firstSegment);
    // One opening of the dialog, one join per name in turn; `between` runs before each join
    // after the first, with the dialog still open.
    std::vector<Outcome> runEach(const std::vector<std::string>& names,
                                 const std::function<void(std::size_t join)>& between = {});

  private:
    CJoinDlg& m_dialog;
    std::vector<int> m_answers;
    std::string m_target;
    Hook m_whileMoving;
    int m_seconds = 60;
};

} // namespace test
