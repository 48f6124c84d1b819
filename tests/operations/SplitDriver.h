#pragma once

#include "platform/Window.h"
#include "support/ScriptedMessageBoxes.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

class CDialog;

namespace test {

// Runs one split the way a user does: opens the dialog, types the path and the amount (count or
// size), clicks "Split &File !" and answers the one message box that every split ends with.
class SplitDriver final {
  public:
    // A message box as the user sees it.
    struct Box {
        std::string text;
        std::string caption;
        unsigned type = 0;
        bool operator==(const Box&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Box& box) {
            return out << '"' << box.text << "\" captioned \"" << box.caption << "\" type 0x"
                       << std::hex << box.type << std::dec;
        }
    };
    struct Outcome {
        std::vector<Box> boxes;
        int barLow = 0;
        int barHigh = 0;
        int barPosition = 0;
        bool openAfter = false;       // the dialog was still open once the box was answered
        bool busyAtBox = true;        // the dialog refused commands while the box was up
        bool sourceHeldAtBox = false; // another open of the source failed while the box was up
        std::string pathText;         // the fields after the split
        std::string amountText;
    };
    // Called at every event pump while the segments are moved.
    using Hook = std::function<void(platform::Window dialog)>;

    SplitDriver(CDialog& dialog, int amountId) : m_dialog(dialog), m_amountId(amountId) {}

    SplitDriver& whileMoving(Hook hook);
    Outcome run(const std::string& path, const std::string& amount);
    // True while the dialog refuses commands, Esc and the close box included.
    static bool isBusy(platform::Window dialog);
    static std::vector<Box> boxesOf(const ScriptedMessageBoxes& boxes);

  private:
    CDialog& m_dialog;
    int m_amountId;
    Hook m_whileMoving;
};

} // namespace test
