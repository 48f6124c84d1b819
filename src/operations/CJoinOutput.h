#pragma once

#include "common/CFile.h"

#include "platform/files/WorkFileSweep.h"
#include "platform/files/WorkFiles.h"

#include <cstdint>
#include <optional>
#include <string>

class CDialog;

// Where a join writes the file it rebuilds: a work file beside the file the target's name leads
// to, renamed over it only when whole, so that a join that ends early in any way leaves the old
// file as it was. The old file is held, with the refusals of an open for writing, until then.
// Where no work file can replace it (it has other names, its folder has no room for both or
// lets the user create nothing), the join writes into it, once the user has agreed.
class CJoinOutput final {
  public:
    CJoinOutput() = default;
    ~CJoinOutput();
    CJoinOutput(const CJoinOutput&) = delete;
    CJoinOutput& operator=(const CJoinOutput&) = delete;

    enum class Opened { yes, refused, cancelled };
    // Meanwhile removes work files that killed operations left in the folder. needed: the bytes
    // the join will write; replacing: whether a file stood under the target's name as the join
    // began (one that comes to stand there later is never replaced).
    Opened Open(CDialog& dialog, const std::string& target, std::uint64_t needed, bool replacing);

    CFile& File() { return m_file; }
    bool InPlace() const { return m_inPlace; }
    // Whether the file written lies on a removable medium, where it is flushed before it counts.
    bool Removable() const { return m_removable; }
    // Flushes the file where it lies on a removable medium, and closes it.
    void Close();
    // Closes the file and gives it the target's name.
    void Commit();
    // Removes what the join wrote: the work file, or, in the target itself, the target.
    void Discard();
    // After a file error: removes the work file, and lets the error name the target instead.
    void Fail(CFileException& error);
    // Keeps what the join wrote, which is not the file that was split, out of the target's
    // name: the work file under the first free name of target.damaged, target.damaged-2, ...,
    // answered; in the target itself, the target emptied, and nothing answered.
    std::string SetAside();

  private:
    void FlushWhereRemovable();
    void LetGo();
    bool AskInPlace(CDialog& dialog, const std::string& target,
                    platform::WorkFiles::Obstacle obstacle) const;

    CFile m_file;
    CFile m_replaced; // the file under the target's name, held until the rename
    std::string m_target, m_final;
    std::string m_work; // the work file while it has no other name
    bool m_inPlace = false;
    bool m_replacing = false;
    bool m_removable = false;
    // Removes what killed operations left beside the target while the join works.
    std::optional<platform::WorkFileSweep> m_sweep;
};
