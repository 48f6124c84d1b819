#include "common/CSegmentTransfer.h"

#include "platform/EventPump.h"
#include "platform/FileCopy.h"

#include <chrono>

using platform::FileCopy;

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count) {
    if (count == 0)
        return;
    // Windows repaint and timers run at the first chunk boundary and then about sixty times a
    // second: pumping after every chunk costs more than the copy itself on a fast disk.
    std::chrono::steady_clock::time_point lastPump{};
    const auto pump = [&lastPump] {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPump < std::chrono::milliseconds(16))
            return;
        lastPump = now;
        platform::EventPump::pumpWithoutInput();
    };
    const FileCopy::Result result =
        FileCopy::copy(source.m_descriptor, segment.m_descriptor, count, pump);
    switch (result.outcome) {
    case FileCopy::Outcome::complete:
        return;
    case FileCopy::Outcome::readFailed:
        throw CFileException(CFileException::OsErrorToCause(result.error, true), result.error);
    case FileCopy::Outcome::writeFailed:
        throw CFileException(CFileException::OsErrorToCause(result.error, true), result.error,
                             segment.GetFilePath());
    case FileCopy::Outcome::writeShort:
        throw CFileException(CFileException::diskFull, -1, segment.GetFilePath());
    case FileCopy::Outcome::sourceEnded:
        throw CFileException(CFileException::endOfFile, -1, source.GetFilePath());
    }
}
