#pragma once

#include <optional>
#include <string>

class CDialog;

// An operation that the user may stop while it works. While an object lives, Esc, a close box
// and closing the main window ask whether to stop (OK/Cancel, Cancel the default); the work waits
// while the question is up. Requests from before the work began, or left when it ends, are
// forgotten.
class CStoppableWork final {
  public:
    CStoppableWork(CDialog& dialog, std::string question, std::optional<std::string> caption);
    ~CStoppableWork();
    CStoppableWork(const CStoppableWork&) = delete;
    CStoppableWork& operator=(const CStoppableWork&) = delete;

    // Called between chunks and segments: when the user asked to stop since the last call, asks
    // the work's question; raises COperationStopped on OK. Without work that may be stopped, the
    // request is forgotten.
    static void CheckNow();
    // Called as windows repaint while a worker holds bytes in hand, on a medium that may stall a
    // write for as long as it takes: asks the question at once when the user asked to stop. On
    // OK the dialog's title says that the work is stopping until the worker lets go; the next
    // CheckNow() then stops it.
    static void AskWhileWaiting();
    // Whether a worker should let go at its next chunk: a stop was asked for (by the user or a
    // signal), its question is up, or the work is stopping. Safe to call from any thread.
    static bool LetsGo();

  private:
    static bool Ask();
    void ShowStopping();

    CDialog& m_dialog;
    std::string m_question;
    std::optional<std::string> m_caption;
    CStoppableWork* m_outer;
    std::optional<std::string> m_title; // the dialog's own, while its title says it is stopping
};
