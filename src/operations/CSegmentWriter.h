#pragma once

#include "common/CBusyScope.h"
#include "common/CFile.h"
#include "common/CProgressCtrl.h"

#include "platform/gui/Window.h"

#include <cstdint>
#include <string>

// Writes a segment set from an open source, one segment file at a time, stepping the progress bar
// after each. While the writer lives its dialog is busy: windows repaint between chunks, but no
// command (Esc and the close box included) reaches the dialog under the running split.
class CSegmentWriter final {
  public:
    CSegmentWriter(platform::Window dialog, CFile& source, CProgressCtrl& progress);

    // Empties the bar (a bar left full by an earlier split starts again), then gives it one step
    // per segment.
    void PrepareProgress(long long segments);
    // Segments 1 to fullSegments of segmentLength bytes each, then the rest of the source as the
    // next segment, when anything is left. Raises CFileException: a segment that cannot be created
    // with the cause of its creation and its name, and any failure of the transfer; a name that
    // a shared folder keeps from being written before any segment is written.
    void WriteSet(const std::string& baseName, std::uint64_t sourceLength,
                  std::uint64_t fullSegments, std::uint64_t segmentLength);

  private:
    static void CheckNames(const std::string& baseName, std::uint64_t segments);
    void WriteSegment(const std::string& baseName, std::uint64_t number, std::uint64_t length);

    CBusyScope m_busy;
    CFile& m_source;
    CProgressCtrl& m_progress;
};
