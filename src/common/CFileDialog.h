#pragma once

#include <string>

class CDialog;

// The desktop's Open dialog, owned by a dialog of the program.
class CFileDialog final {
  public:
    static constexpr unsigned overwritePrompt = 0x00000002;
    static constexpr unsigned hideReadOnly = 0x00000004;
    static constexpr unsigned enableHook = 0x00000020;
    static constexpr unsigned explorer = 0x00080000;
    static constexpr unsigned enableSizing = 0x00800000;

    CFileDialog(CDialog& owner, unsigned flags);

    // The dialog opens in this path's folder with its file selected (the home folder when the path
    // is empty or its folder is gone).
    void SetStartPath(const std::string& path) { m_startPath = path; }
    // 1 when the user confirmed a name, 0 on Cancel or when the dialog failed.
    int DoModal();
    const std::string& GetPathName() const { return m_pathName; }
    unsigned GetFlags() const { return m_flags; }

  private:
    CDialog& m_owner;
    unsigned m_flags;
    std::string m_startPath;
    std::string m_pathName;
};
