#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class ChunkHasher;
}

class CFile;
class CFileException;
class CJoinOutput;

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
    void ReportFirstSegmentMissing();
    // Opens where the join writes (see CJoinOutput), telling the user when it cannot.
    bool OpenOutput(CJoinOutput& output, const std::string& target, std::uint64_t needed,
                    bool replacing);
    // Where a set ended: at a number under which nothing stands (missing then says so), or at a
    // segment that is the target itself.
    struct SetEnd {
        long long number;
        bool atTarget;
    };
    // Appends segment 1 (already open) and every following segment that exists, up to last, to
    // the target; with a hasher, each segment's bytes make a value of its digest 0.
    SetEnd AppendSegments(CFile& segment, CFile& target, const std::string& base,
                          CFileException& missing, platform::ChunkHasher* hasher = nullptr,
                          long long last = LLONG_MAX);
    // Joins the set that its checksum file lists, checking each segment against it.
    void JoinListed(const std::string& target, const std::vector<std::string>& digests);
    // Whether segments 1 to count are all there; tells the user when they are not.
    bool ListedSegmentsThere(const std::string& target, long long count);
    // How a copy of a listed set went: the segments that do not match, or the set stopped at
    // a segment that is the target itself.
    struct Checked {
        std::vector<std::string> damaged;
        bool aliased = false;
    };
    // joined is the bytes the segments hold, which the bar counts.
    Checked CopyListed(CFile& segment, CJoinOutput& output, const std::string& target,
                       const std::vector<std::string>& digests, CFileException& missing,
                       std::uint64_t joined);

    CProgressCtrl m_progress;
};
