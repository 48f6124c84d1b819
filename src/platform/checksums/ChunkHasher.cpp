#include "platform/checksums/ChunkHasher.h"

#include "platform/checksums/Sha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace platform {

ChunkHasher::ChunkHasher(int digests) {
    for (auto& slot : m_slots)
        slot = std::make_unique<char[]>(chunkSize);
    for (int k = 0; k < digests; ++k)
        m_lanes.push_back(std::make_unique<Lane>());
    for (auto& lane : m_lanes)
        lane->thread = std::thread([this, &lane = *lane] { serve(lane); });
}

ChunkHasher::~ChunkHasher() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        // Ranges of files not begun are not read: their digests are no longer wanted.
        for (auto& lane : m_lanes) {
            for (auto item = lane->queue.begin(); item != lane->queue.end();) {
                const bool begun = item == lane->queue.begin();
                if (item->slot == fromFile && !begun && item->descriptor >= 0)
                    ::close(item->descriptor);
                item = item->slot == fromFile && !begun ? lane->queue.erase(item) : item + 1;
            }
        }
    }
    m_changed.notify_all();
    for (auto& lane : m_lanes)
        lane->thread.join();
}

char* ChunkHasher::buffer() {
    std::unique_lock lock(m_mutex);
    const int next = (m_current + 1) % slotCount;
    m_changed.wait(lock, [&] { return m_readers[next] == 0; });
    m_current = next;
    return m_slots[next].get();
}

void ChunkHasher::add(std::size_t count, unsigned digests) {
    {
        const std::lock_guard lock(m_mutex);
        for (std::size_t k = 0; k < m_lanes.size(); ++k) {
            if ((digests >> k & 1u) == 0)
                continue;
            m_lanes[k]->queue.push_back({m_current, count});
            ++m_readers[m_current];
        }
    }
    m_changed.notify_all();
}

void ChunkHasher::addFile(int descriptor, std::uint64_t offset, std::uint64_t count, int digest) {
    {
        const std::lock_guard lock(m_mutex);
        const int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
        m_lanes.at(static_cast<std::size_t>(digest))
            ->queue.push_back({fromFile, count, copy, offset});
    }
    m_changed.notify_all();
}

bool ChunkHasher::hashFile(const Item& item, Sha256& digest, char* buffer) {
    if (item.descriptor < 0)
        return false;
    bool whole = true;
    for (std::uint64_t done = 0; done < item.count && whole;) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(item.count - done, chunkSize));
        const ssize_t got = pread(item.descriptor, buffer, wanted, off_t(item.offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        whole = got > 0;
        if (whole) {
            digest.add(buffer, static_cast<std::size_t>(got));
            done += static_cast<std::uint64_t>(got);
        }
    }
    ::close(item.descriptor);
    return whole;
}

void ChunkHasher::end(int digest) {
    {
        const std::lock_guard lock(m_mutex);
        m_lanes.at(static_cast<std::size_t>(digest))->queue.push_back({-1, 0});
    }
    m_changed.notify_all();
}

const std::vector<std::string>& ChunkHasher::results(int digest) {
    Lane& lane = *m_lanes.at(static_cast<std::size_t>(digest));
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return lane.queue.empty(); });
    return lane.results;
}

// An item stays at the front of its queue while it is hashed: an empty queue is a digest that
// has caught up.
void ChunkHasher::serve(Lane& lane) {
    Sha256 digest;
    std::unique_ptr<char[]> buffer; // for the ranges of files it reads itself
    bool failed = false;            // the current value lacks bytes that could not be read
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stopping || !lane.queue.empty(); });
        if (lane.queue.empty())
            return;
        const Item item = lane.queue.front();
        lock.unlock();
        std::string value;
        if (item.slot == fromFile) {
            if (!buffer)
                buffer = std::make_unique<char[]>(chunkSize);
            failed |= !hashFile(item, digest, buffer.get());
        } else if (item.slot < 0) {
            value = digest.finish();
            if (std::exchange(failed, false))
                value.clear();
        } else {
            digest.add(m_slots[item.slot].get(), item.count);
        }
        lock.lock();
        lane.queue.pop_front();
        if (item.slot == -1)
            lane.results.push_back(std::move(value));
        else if (item.slot >= 0)
            --m_readers[item.slot];
        m_changed.notify_all();
    }
}

} // namespace platform
