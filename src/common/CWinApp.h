#pragma once

#include <string>

class CDialog;

// The application object: one per process, made before the program starts. Start-up sets the
// error mode, derives the display name and the help file from the program file, and runs
// InitInstance, which runs the main window.
class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Get();
    // Framework start-up; answers the process exit status.
    int Run();

    // The program file's name without directory and extension, as it was when the program
    // started (a file replaced since, by an upgrade say, changes nothing): captions every message
    // box that has none of its own.
    static std::string DisplayName();
    static std::string HelpFilePath();
    static std::string DisplayNameOf(const std::string& programPath);
    static std::string HelpFilePathOf(const std::string& programPath);

    CDialog* GetMainWnd() const { return m_pMainWnd; }
    // The help request of F1: the context of the dialog that holds the focus, to the help viewer.
    void OnHelp(unsigned context);

  protected:
    virtual bool InitInstance();
    CDialog* m_pMainWnd = nullptr;

  private:
    static std::string startedFrom();
    std::string m_strProgramPath;
};
