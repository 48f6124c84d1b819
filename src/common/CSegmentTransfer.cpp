#include "common/CSegmentTransfer.h"

#include "platform/EventPump.h"
#include "platform/FileCopy.h"

using platform::FileCopy;

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count) {
    if (count == 0)
        return;
    const FileCopy::Result result = FileCopy::copy(source.m_descriptor, segment.m_descriptor, count,
                                                   [] { platform::EventPump::pumpWithoutInput(); });
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
