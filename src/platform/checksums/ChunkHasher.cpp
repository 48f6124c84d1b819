#include "platform/checksums/ChunkHasher.h"

#include "platform/checksums/Sha256.h"

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
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stopping || !lane.queue.empty(); });
        if (lane.queue.empty())
            return;
        const Item item = lane.queue.front();
        lock.unlock();
        std::string value;
        if (item.slot < 0)
            value = digest.finish();
        else
            digest.add(m_slots[item.slot].get(), item.count);
        lock.lock();
        lane.queue.pop_front();
        if (item.slot < 0)
            lane.results.push_back(std::move(value));
        else
            --m_readers[item.slot];
        m_changed.notify_all();
    }
}

} // namespace platform
