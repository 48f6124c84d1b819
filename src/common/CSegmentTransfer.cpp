#include "common/CSegmentTransfer.h"

#include "common/CByteProgress.h"
#include "common/CStoppableWork.h"

#include "platform/checksums/ChunkHasher.h"
#include "platform/gui/EventPump.h"
#include "platform/gui/WorkerThread.h"

#include <atomic>
#include <chrono>

using platform::FileCopy;

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count) {
    Move(source, segment, count, nullptr);
}

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count,
                            const Hashing& hashing) {
    Move(source, segment, count, &hashing);
}

void CSegmentTransfer::Hash(platform::ChunkHasher& hasher, const CFile& file, std::uint64_t count,
                            int digest) {
    hasher.addFile(file.m_descriptor, 0, count, digest);
}

void CSegmentTransfer::Move(CFile& source, CFile& segment, std::uint64_t count,
                            const Hashing* hashing) {
    FileCopy::Result result{FileCopy::Outcome::complete, {}, 0};
    // A request to stop interrupts the copy between chunks; the question is asked here, while
    // the copy waits, and Cancel goes on with the rest.
    for (std::uint64_t done = 0; done < count;) {
        result = CopyOnce(source, segment, count - done, hashing);
        done += result.moved;
        CByteProgress::Moved(result.moved);
        if (result.outcome != FileCopy::Outcome::interrupted)
            break;
        CStoppableWork::CheckNow();
    }
    switch (result.outcome) {
    case FileCopy::Outcome::complete:
    case FileCopy::Outcome::interrupted:
        // A request that came while the last chunk moved is asked about before the next segment.
        CStoppableWork::CheckNow();
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

// A removable medium can hold up any write for as long as it takes: there the bytes move on the
// worker thread while windows repaint and timers run, and the copy stops between chunks when the
// user asks to stop. The machine's own disks keep the copy on this thread, at no cost per segment.
FileCopy::Result CSegmentTransfer::CopyOnce(CFile& source, CFile& segment, std::uint64_t count,
                                            const Hashing* hashing) {
    if (!segment.IsOnRemovableMedium()) {
        // Windows repaint and timers run at a segment's first chunk boundary and then about sixty
        // times a second: pumping after every chunk costs more than the copy itself on a fast
        // disk.
        std::chrono::steady_clock::time_point lastPump{};
        return Copy(source, segment, count, hashing, [&lastPump](std::uint64_t moved) {
            PumpIfDue(lastPump, moved);
            return true;
        });
    }
    // The bar shows the worker's count as windows repaint; the count is all the threads share.
    std::atomic<std::uint64_t> movedSoFar{0};
    FileCopy::Result result{};
    platform::WorkerThread::runWhilePumping(
        [&] {
            result = Copy(source, segment, count, hashing, [&movedSoFar](std::uint64_t moved) {
                movedSoFar.store(moved, std::memory_order_relaxed);
                return !CStoppableWork::LetsGo();
            });
        },
        [&movedSoFar] {
            CByteProgress::Show(movedSoFar.load(std::memory_order_relaxed));
            CStoppableWork::AskWhileWaiting();
        });
    return result;
}

FileCopy::Result CSegmentTransfer::Copy(CFile& source, CFile& segment, std::uint64_t count,
                                        const Hashing* hashing,
                                        const FileCopy::BetweenChunks& betweenChunks) {
    if (hashing == nullptr)
        return FileCopy::copy(source.m_descriptor, segment.m_descriptor, count, betweenChunks);
    return FileCopy::copyHashing(source.m_descriptor, segment.m_descriptor, count, betweenChunks,
                                 hashing->hasher, hashing->digests, hashing->inKernel);
}

namespace {
// When windows last repainted between segments, or when the operation began.
std::chrono::steady_clock::time_point lastRepaint;
} // namespace

void CSegmentTransfer::StartRepaintClock() {
    lastRepaint = std::chrono::steady_clock::now();
}

void CSegmentTransfer::RepaintNowAndThen() {
    PumpIfDue(lastRepaint, 0);
}

void CSegmentTransfer::PumpIfDue(std::chrono::steady_clock::time_point& lastPump,
                                 std::uint64_t inSegment) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump < std::chrono::milliseconds(16))
        return;
    lastPump = now;
    CByteProgress::Show(inSegment);
    platform::EventPump::pumpWithoutInput();
    CStoppableWork::CheckNow();
}
