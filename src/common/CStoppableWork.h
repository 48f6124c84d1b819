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

  private:
    CDialog& m_dialog;
    std::string m_question;
    std::optional<std::string> m_caption;
    CStoppableWork* m_outer;
};
