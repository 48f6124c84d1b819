#include "platform/PosixFile.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using platform::PosixFile;

void ignoreSignal(int) {}

// Interrupts one thread with SIGUSR1, whose handler does not restart system calls, so that its
// blocking reads and writes on a pipe return early or fail with EINTR.
class Interrupter final {
  public:
    explicit Interrupter(pthread_t target) : m_target(target) {
        struct sigaction action {};
        action.sa_handler = ignoreSignal;
        sigaction(SIGUSR1, &action, &m_previous);
        m_thread = std::thread([this] {
            while (!m_stop) {
                pthread_kill(m_target, SIGUSR1);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    }
    ~Interrupter() {
        m_stop = true;
        m_thread.join();
        sigaction(SIGUSR1, &m_previous, nullptr);
    }

  private:
    pthread_t m_target;
    struct sigaction m_previous {};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A pipe carries at most 64 KiB at a time, so moving megabytes through it takes many short
// transfers, each of which the interrupter may cut.
TEST(PosixFile, ReadsAndWritesMoveTheWholeCountOverShortTransfersAndInterruptions) {
    const std::string bytes = test::Files::pattern(4 * 1024 * 1024);
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    std::string received(bytes.size() + 1000, '\0');
    PosixFile::Transfer read{};
    PosixFile::Transfer written{};
    {
        Interrupter interruptReader(pthread_self());
        std::thread writer([&] {
            Interrupter interruptWriter(pthread_self());
            for (std::size_t at = 0; at < bytes.size(); at += bytes.size() / 8) {
                const auto piece =
                    PosixFile::write(channel[1], bytes.data() + at, bytes.size() / 8);
                written.count += piece.count;
                written.error = written.error != 0 ? written.error : piece.error;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            close(channel[1]);
        });
        read = PosixFile::read(channel[0], received.data(), received.size());
        writer.join();
    }
    close(channel[0]);
    EXPECT_EQ(written.error, 0);
    EXPECT_EQ(written.count, bytes.size());
    EXPECT_EQ(read.error, 0);
    ASSERT_EQ(read.count, bytes.size());
    EXPECT_EQ(received.substr(0, bytes.size()), bytes);
}

} // namespace
