#include "platform/checksums/RangeHasher.h"

#include "platform/checksums/Sha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace platform {

namespace {

constexpr std::size_t chunkSize = 1u << 20;

} // namespace

RangeHasher::RangeHasher(int threads) {
    for (int k = 0; k < threads; ++k)
        m_threads.emplace_back([this] { serve(); });
}

RangeHasher::~RangeHasher() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        for (const Range& range : m_waiting)
            ::close(range.descriptor);
        m_waiting.clear();
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

int RangeHasher::hash(int descriptor, std::uint64_t offset, std::uint64_t count) {
    const std::lock_guard lock(m_mutex);
    m_results.emplace_back();
    const int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        m_results.back().error = FileError::of(errno);
    else
        m_waiting.push_back({copy, offset, count, m_results.size() - 1});
    m_changed.notify_all();
    return static_cast<int>(m_results.size() - 1);
}

const std::vector<RangeHasher::Digest>& RangeHasher::results() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && m_working == 0; });
    return m_results;
}

void RangeHasher::serve() {
    const auto buffer = std::make_unique<char[]>(chunkSize);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_waiting.empty())
            return;
        const Range range = m_waiting.front();
        m_waiting.pop_front();
        ++m_working;
        lock.unlock();
        Digest digest = digestOf(range, buffer.get());
        ::close(range.descriptor);
        lock.lock();
        m_results[range.digest] = std::move(digest);
        --m_working;
        m_changed.notify_all();
    }
}

RangeHasher::Digest RangeHasher::digestOf(const Range& range, char* buffer) const {
    Sha256 sha;
    for (std::uint64_t done = 0; done < range.count && !m_stopping;) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(range.count - done, chunkSize));
        const ssize_t got = pread(range.descriptor, buffer, wanted, off_t(range.offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {{}, FileError::of(errno), false};
        if (got == 0)
            return {{}, {}, true};
        sha.add(buffer, static_cast<std::size_t>(got));
        done += static_cast<std::uint64_t>(got);
    }
    return {sha.finish(), {}, false};
}

} // namespace platform
