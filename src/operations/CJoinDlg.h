#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"

#include <string>

class CFile;
class CFileException;

// Puts a segment set back together into the file it came from. The user names segment 1; that
// name less its last character is both the set's base name and the file rebuilt.
class CJoinDlg final : public CDialog {
  public:
    CJoinDlg();

    std::string m_strFirstSegment;

  protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnCommand(int id) override;

  private:
    void OnJoin();
    // Whether the user lets the join replace a target that may be another segment of the set.
    bool MayReplace(const std::string& target);
    void ResetProgress();
    // Where a set ended: at a number under which nothing stands (missing then says so), or at a
    // segment that is the target itself.
    struct SetEnd {
        long long number;
        bool atTarget;
    };
    // Appends segment 1 (already open) and every following segment that exists to the target.
    SetEnd AppendSegments(CFile& segment, CFile& target, const std::string& base,
                          CFileException& missing);

    CProgressCtrl m_progress;
};
