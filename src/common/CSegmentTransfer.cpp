#include "common/CSegmentTransfer.h"

#include "platform/checksums/ChunkHasher.h"
#include "platform/gui/EventPump.h"
#include "platform/gui/WorkerThread.h"

#include <chrono>

using platform::FileCopy;

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count) {
    if (count == 0)
        return;
    Move(source, segment, [&](const std::function<void()>& betweenChunks) {
        return FileCopy::copy(source.m_descriptor, segment.m_descriptor, count, betweenChunks);
    });
}

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count,
                            const Hashing& hashing) {
    if (count == 0)
        return;
    Move(source, segment, [&](const std::function<void()>& betweenChunks) {
        return FileCopy::copyHashing(source.m_descriptor, segment.m_descriptor, count,
                                     betweenChunks, hashing.hasher, hashing.digests,
                                     hashing.inKernel);
    });
}

void CSegmentTransfer::Hash(platform::ChunkHasher& hasher, const CFile& file, std::uint64_t count,
                            int digest) {
    hasher.addFile(file.m_descriptor, 0, count, digest);
}

void CSegmentTransfer::Move(CFile& source, CFile& segment, const Copy& copy) {
    FileCopy::Result result{};
    // A removable medium can hold up any write for as long as it takes: there the bytes move on
    // the worker thread while windows repaint and timers run. The machine's own disks keep the
    // copy on this thread, at no cost per segment.
    if (segment.IsOnRemovableMedium()) {
        platform::WorkerThread::runWhilePumping([&] { result = copy(nullptr); });
    } else {
        result = CopyPumpingBetweenChunks(copy);
    }
    switch (result.outcome) {
    case FileCopy::Outcome::complete:
        return;
    case FileCopy::Outcome::readFailed:
        throw CFileException(result.error);
    case FileCopy::Outcome::writeFailed:
        throw CFileException(result.error, segment.GetFilePath());
    case FileCopy::Outcome::writeShort:
        throw CFileException(CFileException::diskFull, -1, segment.GetFilePath());
    case FileCopy::Outcome::sourceEnded:
        throw CFileException(CFileException::endOfFile, -1, source.GetFilePath());
    }
}

FileCopy::Result CSegmentTransfer::CopyPumpingBetweenChunks(const Copy& copy) {
    // Windows repaint and timers run at a segment's first chunk boundary and then about sixty
    // times a second: pumping after every chunk costs more than the copy itself on a fast disk.
    std::chrono::steady_clock::time_point lastPump{};
    return copy([&lastPump] { PumpIfDue(lastPump); });
}

namespace {
// When windows last repainted between segments, or when the operation began.
std::chrono::steady_clock::time_point lastRepaint;
} // namespace

void CSegmentTransfer::StartRepaintClock() {
    lastRepaint = std::chrono::steady_clock::now();
}

void CSegmentTransfer::RepaintNowAndThen() {
    PumpIfDue(lastRepaint);
}

void CSegmentTransfer::PumpIfDue(std::chrono::steady_clock::time_point& lastPump) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump < std::chrono::milliseconds(16))
        return;
    lastPump = now;
    platform::EventPump::pumpWithoutInput();
}
