#pragma once

#include "common/CFile.h"

#include "platform/FileCopy.h"

#include <cstdint>

// Moves one segment's bytes between open files without holding the segment in memory.
class CSegmentTransfer final {
  public:
    // Moves count bytes from the source's position to the segment's position. Windows repaint and
    // timers run between chunks, and throughout when the segment is on a removable medium; user
    // input waits. Raises CFileException: a failing read with no file name, a failing or short
    // write with the segment's full path, and a source that ends before count bytes (cause
    // endOfFile) with the source's full path. Only bytes that were read are written.
    static void Move(CFile& source, CFile& segment, std::uint64_t count);

  private:
    static platform::FileCopy::Result CopyPumpingBetweenChunks(CFile& source, CFile& segment,
                                                               std::uint64_t count);
};
