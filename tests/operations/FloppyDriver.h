#pragma once

#include "platform/Window.h"
#include "support/ScriptedMessageBoxes.h"

#include <functional>
#include <string>
#include <vector>

class CFloppySplitDlg;

namespace test {

// Runs floppy splits the way a user does: opens the dialog, types the path, clicks
// "&Split File !" and answers every message box from a script, recording what the dialog looked
// like at each box, while segments were written and after the split.
class FloppyDriver final {
  public:
    // The dialog at one moment.
    struct Look {
        int clientHeight = 0;
        int clientWidth = 0;
        int frameHeight = 0; // outer height less client height
        int fullHeight = 0;  // the client height the template asks for
        int fullWidth = 0;
        int buttonsBottom = 0; // where "&Split File !" and "&Done" end, below the client's top
        int stripTop = 0;      // where the animation strip begins
        // Only the two buttons and what lies above them are in view.
        bool collapsed() const {
            return clientWidth == fullWidth && clientHeight >= buttonsBottom &&
                   clientHeight <= stripTop;
        }
        bool expanded() const { return clientWidth == fullWidth && clientHeight == fullHeight; }
        bool splitEnabled = false;
        bool doneEnabled = false;
        bool browseEnabled = false;
        bool animating = false;
        bool busy = false; // the dialog refused commands
    };
    struct Box {
        ScriptedMessageBoxes::Shown shown;
        Look look;
    };
    struct Outcome {
        std::vector<Box> boxes;
        std::vector<Look> whileWriting; // at each event pump between chunks of a segment
        Look opened;                    // once the dialog was up, before the click
        Look after;
        bool openAfter = false;
        std::vector<std::string> texts() const;
    };
    using Reply = std::function<int(const ScriptedMessageBoxes::Shown&)>;
    using Hook = std::function<void(platform::Window dialog)>;

    explicit FloppyDriver(CFloppySplitDlg& dialog) : m_dialog(dialog) {}

    // The next box is answered with that button (1 OK, 2 Cancel), or by running the reply while
    // the box is up.
    FloppyDriver& answer(int button);
    FloppyDriver& answer(Reply reply);
    // Runs at each event pump while a segment is written.
    FloppyDriver& whileWriting(Hook hook);
    // Asks the dialog to close (as Esc or the close box does) at the first pump of each write.
    FloppyDriver& closeWhileWriting();
    Outcome run(const std::string& pathText);

    static Look lookOf(platform::Window dialog);

  private:
    CFloppySplitDlg& m_dialog;
    std::vector<Reply> m_replies;
    Hook m_whileWriting;
    bool m_closeWhileWriting = false;
};

} // namespace test
