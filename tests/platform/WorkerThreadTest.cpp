#include "platform/gui/WorkerThread.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

// A failed copy on a stick is a file error raised in the job: it must reach the operation, or the
// failure would show as success.
TEST(WorkerThread, RaisesTheJobsExceptionInTheCaller) {
    const auto caller = std::this_thread::get_id();
    std::thread::id ranOn;
    try {
        platform::WorkerThread::runWhilePumping([&] {
            ranOn = std::this_thread::get_id();
            throw std::range_error("segment 2");
        });
        ADD_FAILURE() << "the job's exception was lost";
    } catch (const std::range_error& error) {
        EXPECT_STREQ(error.what(), "segment 2");
    }
    EXPECT_NE(ranOn, caller) << "the job ran on the calling thread";
}

} // namespace
