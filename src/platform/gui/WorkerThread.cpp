#include "platform/gui/WorkerThread.h"

#include "platform/gui/EventPump.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace platform {

namespace {

// Often enough that windows repaint and animations move smoothly.
constexpr auto pumpInterval = std::chrono::milliseconds(16);

class Worker final {
  public:
    Worker() : m_thread([this] { serve(); }) {}

    void run(const std::function<void()>& job, const std::function<void()>& beforeEachPump) {
        std::unique_lock lock(m_mutex);
        m_job = &job;
        m_done = false;
        m_wake.notify_one();
        while (!m_finished.wait_for(lock, pumpInterval, [this] { return m_done; })) {
            lock.unlock();
            try {
                if (beforeEachPump)
                    beforeEachPump();
                EventPump::pumpWithoutInput();
            } catch (...) {
                // The job works on its caller's data: it ends before the caller's frame goes, and
                // the worker is free for the next job.
                lock.lock();
                m_finished.wait(lock, [this] { return m_done; });
                m_job = nullptr;
                m_failure = nullptr;
                throw;
            }
            lock.lock();
        }
        m_job = nullptr;
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

  private:
    void serve() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_job != nullptr && !m_done; });
            const std::function<void()>& job = *m_job;
            lock.unlock();
            std::exception_ptr failure;
            try {
                job();
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            m_failure = failure;
            m_done = true;
            m_finished.notify_one();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    const std::function<void()>* m_job = nullptr;
    bool m_done = false;
    std::exception_ptr m_failure;
    std::thread m_thread; // last: starts once the members it uses exist
};

// Made at the first use and kept until the process ends, so no job ever waits for a thread to
// start or end. A child made by fork() has no worker thread, so it makes one of its own.
Worker& worker() {
    static Worker* instance = nullptr;
    static pid_t owner = 0;
    if (instance == nullptr || owner != getpid()) {
        instance = new Worker;
        owner = getpid();
    }
    return *instance;
}

// Set while the GUI thread waits for the worker: a timer that fires meanwhile and asks for more
// work gets it done on the GUI thread rather than queued behind the job it waits for.
bool waiting = false;

class Waiting final {
  public:
    Waiting() { waiting = true; }
    ~Waiting() { waiting = false; }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
};

} // namespace

void WorkerThread::runWhilePumping(const std::function<void()>& job,
                                   const std::function<void()>& beforeEachPump) {
    if (QCoreApplication::instance() == nullptr || waiting) {
        job();
        return;
    }
    const Waiting meanwhile;
    worker().run(job, beforeEachPump);
}

} // namespace platform
