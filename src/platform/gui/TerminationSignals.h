#pragma once

namespace platform {

// SIGTERM, SIGHUP (the session ends) and SIGINT (Ctrl+C). With no work running they end the
// program at once, as they would without a handler. While work runs, the first of them stops
// the work as a confirmed stop would, without a question (a question already up is closed), and
// once the work has removed what it wrote the program ends by that signal, so a shell sees
// 128 + its number. A second one ends the program at once.
//
// The handler only sets a flag and writes to a pipe that the event loop reads: nothing is
// blocked, so programs started from here (the help viewer) get the signals as they were.
class TerminationSignals final {
  public:
    static void install();
    // Between these the signals stop the work instead of ending the program.
    static void workBegins();
    static void workEnds();
    // Whether a signal has asked the running work to stop. Safe from any thread.
    static bool stopForced();
    // Ends the program by the signal that stopped the work, if one did.
    static void endIfSignalled();
};

} // namespace platform
