// The thread that renders the next frame while the encoder takes this one.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

#include "production/render_worker.h"

namespace {

TEST(RenderWorker, RunsEachJobOnOneThreadAndWaitsForIt)
{
    production::RenderWorker worker;
    worker.Wait();  // nothing started yet
    std::vector<int> done;
    std::vector<std::thread::id> threads;
    for (int job = 0; job < 50; ++job) {
        worker.Start([&, job] {
            done.push_back(job);
            threads.push_back(std::this_thread::get_id());
        });
        worker.Wait();
        ASSERT_EQ(done.size(), static_cast<std::size_t>(job + 1));  // finished when Wait returns
    }
    for (int job = 0; job < 50; ++job) EXPECT_EQ(done[job], job);
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    for (const std::thread::id& id : threads) EXPECT_EQ(id, threads.front());
    worker.Wait();  // a second wait returns at once
}

TEST(RenderWorker, HandsAJobsErrorToTheWaitAndGoesOn)
{
    production::RenderWorker worker;
    worker.Start([] { throw std::runtime_error("no picture"); });
    EXPECT_THROW(worker.Wait(), std::runtime_error);
    worker.Wait();  // the error is handed over once
    bool ran = false;
    worker.Start([&] { ran = true; });
    worker.Wait();
    EXPECT_TRUE(ran);
}

TEST(RenderWorker, EndsOnlyWhenTheFrameUnderWayIsWhole)
{
    constexpr std::uint32_t kPixel = 0xff336699;
    std::vector<std::uint32_t> frame(64 * 64, 0);
    std::atomic<bool> started{false};
    {
        production::RenderWorker worker;
        worker.Start([&] {
            started = true;
            for (std::uint32_t& pixel : frame) {
                pixel = kPixel;
                std::this_thread::yield();
            }
        });
        while (!started) std::this_thread::yield();
    }  // the worker ends while it draws the frame, which it was never asked to wait for
    EXPECT_EQ(static_cast<std::size_t>(std::count(frame.begin(), frame.end(), kPixel)), frame.size());
}

}  // namespace
