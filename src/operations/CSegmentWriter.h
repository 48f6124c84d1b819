#pragma once

#include "common/CBusyScope.h"
#include "common/CFile.h"
#include "common/CProgressCtrl.h"

#include "platform/gui/Window.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

// Writes a segment set from an open source, one segment file at a time, the progress bar following
// the bytes written. While the writer lives its dialog is busy: windows repaint between chunks, but
// no command (Esc and the close box included) reaches the dialog under the running split.
class CSetChecksum;
namespace platform {
class Folder;
}

class CSegmentWriter final {
  public:
    // The buttons named are greyed while the writer lives.
    CSegmentWriter(platform::Window dialog, std::initializer_list<int> greyed, CFile& source,
                   CProgressCtrl& progress);

    // Segments 1 to fullSegments of segmentLength bytes each, then the rest of the source as the
    // next segment, when anything is left, then the set's checksum file, then segment 1 gets its
    // name. A checksum file and a segment 1 of an earlier split are removed first (segment 1 as
    // CLeftoverSegments::RemoveEarlier() does), and work files that killed operations left in
    // the folder. Raises CFileException: a segment or checksum file that cannot be created or
    // removed with the cause and its name, and any failure of the transfer; a name that a shared
    // folder keeps from being written before any segment is written. Segment 1 is gone then. The
    // bar starts empty, is full once segment 1 has its name, and otherwise stays where the bytes
    // stopped.
    void WriteSet(const std::string& baseName, std::uint64_t sourceLength,
                  std::uint64_t fullSegments, std::uint64_t segmentLength);

    // Called before anything is written or removed: raises CFileException for the first name
    // that cannot be made where it would stand, because it is too long (an invalid path; the
    // longest segment name is the last one's, and the set's checksum file is checked after it)
    // or because a stranger owns what stands under a segment's name in a shared folder (access
    // denied). A set is never left half made for want of a name known to be unusable from the
    // start.
    static void CheckNames(const std::string& baseName, long long segments);

    // Removes every segment file this writer made (the one it was writing included, and segment
    // 1 under its work name) and answers how many. Raises CFileException naming the first it cannot
    // remove.
    long long RemoveWritten();

  private:
    // Made in folder, the folder of the whole set, looked at once.
    void WriteSegment(const std::string& baseName, std::uint64_t number, std::uint64_t length,
                      CSetChecksum& checksum, const platform::Folder& folder);
    // Gives segment 1 its name, the split's last step.
    void NameFirstSegment(const std::string& first);
    void RemoveFirstWork();
    void LetGoOfFirst();

    CBusyScope m_busy;
    CFile& m_source;
    CProgressCtrl& m_progress;
    // Whether the set's folder lies on a removable medium, once the first segment has asked.
    std::optional<bool> m_removable;
    std::string m_baseName;
    long long m_made = 0;    // segment files made so far, 1 to m_made
    std::string m_firstWork; // the work file segment 1 is written to until the set is whole
    CFile m_first;           // segment 1, held open until it has its name
};
