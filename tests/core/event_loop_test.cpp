#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/core/timer_queue.h"

namespace {

class EventLoop : public ::testing::Test {
protected:
    core::TestApplication test_app;
    TApplication& app = test_app.App();
    core::VirtualClock& clock = test_app.Clock();

    // A timer that counts its ticks and records when they came.
    std::unique_ptr<TTimer> CountingTimer(int interval_ms, std::vector<int64_t>& ticks)
    {
        auto timer = std::make_unique<TTimer>();
        timer->SetInterval(interval_ms);
        timer->OnTimer = [this, &ticks](TObject*) { ticks.push_back(clock.NowMs()); };
        return timer;
    }
};

TEST_F(EventLoop, FirstTickOneIntervalAfterEnablingThenEveryInterval)
{
    clock.SetUs(7'000);
    std::vector<int64_t> ticks;
    auto timer = CountingTimer(100, ticks);
    test_app.RunForMs(350);
    EXPECT_EQ(ticks, (std::vector<int64_t>{107, 207, 307}));

    // Disabling and enabling again restarts the period.
    timer->SetEnabled(false);
    test_app.RunForMs(1000);
    EXPECT_EQ(ticks.size(), 3u);
    timer->SetEnabled(true);
    test_app.RunForMs(150);
    EXPECT_EQ(ticks.back(), clock.NowMs() - 50);
}

TEST_F(EventLoop, DefaultTimerIsEnabledWithOneSecondAndZeroNeverFires)
{
    TTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    test_app.RunForMs(2500);
    EXPECT_EQ(ticks, 2);
    timer.SetInterval(0);
    test_app.RunForMs(5000);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(app.Timers().Count(), 0);
}

TEST_F(EventLoop, PostedMessagesRunInOrderBeforeADueTimer)
{
    std::vector<std::string> order;
    TTimer timer;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) { order.push_back("timer"); };
    clock.AdvanceMs(50);
    app.PostMessage([&] { order.push_back("first"); });
    app.PostMessage([&] {
        order.push_back("second");
        // Posted while the queue runs: still ahead of the timer.
        app.PostMessage([&] { order.push_back("third"); });
    });
    app.ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    app.ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "third", "timer"}));
}

TEST_F(EventLoop, NoBurstAfterAStall)
{
    std::vector<int64_t> ticks;
    auto timer = CountingTimer(20, ticks);
    test_app.RunForMs(40);
    ASSERT_EQ(ticks, (std::vector<int64_t>{20, 40}));

    // 500 ms pass without the loop running (a long handler elsewhere).
    clock.AdvanceMs(500);
    for (int i = 0; i < 5; ++i) app.ProcessMessages();
    EXPECT_EQ(ticks, (std::vector<int64_t>{20, 40, 540}));
    test_app.RunForMs(40);
    EXPECT_EQ(ticks, (std::vector<int64_t>{20, 40, 540, 560, 580}));

    // The same when the stall is inside the timer's own handler.
    ticks.clear();
    timer->OnTimer = [&](TObject*) {
        ticks.push_back(clock.NowMs());
        if (ticks.size() == 1) clock.AdvanceMs(500);
    };
    test_app.RunForMs(560);  // 580 -> 1140
    EXPECT_EQ(ticks, (std::vector<int64_t>{600, 1100, 1120, 1140}));
}

TEST_F(EventLoop, ModalLoopClosedByItsOwnTimerWhileAnotherFormsTimerKeepsFiring)
{
    std::vector<int64_t> other_ticks;
    auto other_form_timer = CountingTimer(10, other_ticks);

    bool modal_result = false;
    int closer_ticks = 0;
    TTimer closer;
    closer.SetEnabled(false);
    closer.SetInterval(500);
    closer.OnTimer = [&](TObject*) {
        ++closer_ticks;
        closer.SetEnabled(false);  // one-shot
        modal_result = true;
    };

    // The modal form opens from a posted message, as a button click would.
    bool returned = false;
    app.PostMessage([&] {
        closer.SetEnabled(true);
        app.RunUntil([&] { return modal_result; });
        returned = true;
    });
    app.ProcessMessages();
    EXPECT_TRUE(returned);
    EXPECT_EQ(closer_ticks, 1);
    EXPECT_EQ(clock.NowMs(), 500);
    EXPECT_EQ(other_ticks.size(), 50u);
}

TEST_F(EventLoop, NestedModalLoopsInsideTimerHandlers)
{
    // A one-shot timer opens a modal loop, whose own one-shot timer opens a
    // second one; both close from timers while the outer timer is stopped.
    std::vector<int64_t> background;
    auto background_timer = CountingTimer(5, background);
    bool inner_done = false, outer_done = false;
    TTimer inner_closer, outer_closer, inner_opener, outer_opener;
    for (TTimer* t : {&inner_closer, &outer_closer, &inner_opener}) t->SetEnabled(false);
    outer_opener.SetInterval(1);
    outer_opener.OnTimer = [&](TObject*) {
        outer_opener.SetEnabled(false);
        outer_closer.SetInterval(300);
        outer_closer.SetEnabled(true);
        inner_opener.SetInterval(1);
        inner_opener.SetEnabled(true);
        app.RunUntil([&] { return outer_done; });
    };
    inner_opener.OnTimer = [&](TObject*) {
        inner_opener.SetEnabled(false);
        inner_closer.SetInterval(100);
        inner_closer.SetEnabled(true);
        app.RunUntil([&] { return inner_done; });
        EXPECT_FALSE(outer_done);
    };
    inner_closer.OnTimer = [&](TObject*) {
        inner_closer.SetEnabled(false);
        inner_done = true;
    };
    outer_closer.OnTimer = [&](TObject*) {
        outer_closer.SetEnabled(false);
        outer_done = true;
    };
    EXPECT_TRUE(app.PumpUntil([&] { return outer_done; }, 10'000));
    EXPECT_TRUE(inner_done);
    EXPECT_EQ(clock.NowMs(), 301);
    EXPECT_EQ(background.size(), 60u);
}

TEST_F(EventLoop, NestedPumpInsideATimerHandlerDoesNotReenterThatTimer)
{
    int depth = 0, max_depth = 0, ticks = 0, other_ticks = 0;
    TTimer timer, other;
    timer.SetInterval(1);
    other.SetInterval(1);
    other.OnTimer = [&](TObject*) { ++other_ticks; };
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        max_depth = std::max(max_depth, ++depth);
        clock.AdvanceMs(10);  // its own next tick is due now
        app.ProcessMessages();
        // A bounded wait inside the handler ends; time moves although this
        // timer is always due.
        EXPECT_FALSE(app.PumpUntil([] { return false; }, 20));
        --depth;
    };
    test_app.RunForMs(100);
    EXPECT_EQ(max_depth, 1);
    EXPECT_GT(ticks, 1);
    EXPECT_GT(other_ticks, ticks);
}

TEST_F(EventLoop, PumpUntil)
{
    // Times out on the virtual clock without sleeping.
    EXPECT_FALSE(app.PumpUntil([] { return false; }, 60'000));
    EXPECT_EQ(clock.NowMs(), 60'000);
    EXPECT_FALSE(app.PumpUntil([] { return false; }, 0));
    EXPECT_EQ(clock.NowMs(), 60'000);

    // Returns as soon as a timer sets the flag, at the timer's time.
    bool flag = false;
    TTimer timer;
    timer.SetInterval(250);
    timer.OnTimer = [&](TObject*) { flag = true; };
    EXPECT_TRUE(app.PumpUntil([&] { return flag; }, 1000));
    EXPECT_EQ(clock.NowMs(), 60'250);

    // Already true: returns without running anything.
    int runs = 0;
    app.PostMessage([&] { ++runs; });
    EXPECT_TRUE(app.PumpUntil([] { return true; }, 1000));
    EXPECT_EQ(runs, 0);

    // Messages that keep posting themselves cannot hold a virtual wait forever.
    std::function<void()> again = [&] { app.PostMessage(again); };
    app.PostMessage(again);
    EXPECT_FALSE(app.PumpUntil([] { return false; }, 5));
    EXPECT_EQ(clock.NowMs(), 60'255);

    // A terminated application ends every wait.
    app.Terminate();
    EXPECT_FALSE(app.PumpUntil([] { return false; }, 1000));
    app.RunUntil([] { return false; });
    app.Run();
}

TEST_F(EventLoop, TimerHandlerMayStopOrDestroyItsOwnTimer)
{
    struct Case {
        const char* name;
        bool destroy;
    };
    for (Case c : {Case{"disable", false}, Case{"destroy", true}}) {
        SCOPED_TRACE(c.name);
        int ticks = 0;
        auto* timer = new TTimer();
        timer->SetInterval(5);
        timer->OnTimer = [&ticks, timer, c](TObject*) {
            ++ticks;
            if (c.destroy)
                delete timer;
            else
                timer->SetEnabled(false);
        };
        // A second timer due at the same moment still fires.
        int later = 0;
        TTimer second;
        second.SetInterval(5);
        second.OnTimer = [&](TObject*) { ++later; };
        test_app.RunForMs(50);
        EXPECT_EQ(ticks, 1);
        EXPECT_EQ(later, 10);
        if (!c.destroy) delete timer;
    }
}

TEST_F(EventLoop, HandlerDestroysAnotherDueTimer)
{
    int victim_ticks = 0;
    TTimer killer;
    auto victim = std::make_unique<TTimer>();  // queued after the killer
    killer.SetInterval(5);
    victim->SetInterval(5);  // due at the same time
    victim->OnTimer = [&](TObject*) { ++victim_ticks; };
    killer.OnTimer = [&](TObject*) { victim.reset(); };
    test_app.RunForMs(20);
    EXPECT_EQ(victim_ticks, 0);
}

class ThrowingSource : public core::EventSource {
public:
    bool armed = true;
    bool Poll() override
    {
        if (!armed) return false;
        armed = false;
        throw std::runtime_error("from an event");
    }
    void Wait(int64_t) override {}
};

TEST_F(EventLoop, ExceptionBarrierReportsAndTheLoopGoesOn)
{
    std::vector<std::string> reports;
    app.OnException = [&](const std::string& text) { reports.push_back(text); };

    ThrowingSource source;
    app.SetEventSource(&source);
    app.PostMessage([] { throw std::runtime_error("from a message"); });
    bool after = false;
    app.PostMessage([&] { after = true; });
    int ticks = 0;
    TTimer timer;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 1) throw std::runtime_error("from a timer");
        if (ticks == 2) throw 42;
    };
    test_app.RunForMs(50);
    app.SetEventSource(nullptr);

    EXPECT_TRUE(after);
    EXPECT_EQ(ticks, 5);  // still firing after throwing
    EXPECT_EQ(reports,
              (std::vector<std::string>{"from an event", "from a message", "from a timer", "Unknown error"}));

    // A reporter that throws falls back to stderr and the loop still goes on.
    app.OnException = [](const std::string&) { throw std::logic_error("reporter"); };
    app.PostMessage([] { throw std::runtime_error("unreported"); });
    testing::internal::CaptureStderr();
    app.ProcessMessages();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("unreported"), std::string::npos);
}

TEST_F(EventLoop, VirtualTimeRunsThousandsOfFramesWithoutSleeping)
{
    // A 1-ms poll for 2500 frames of 40 ms: 100 000 ticks of virtual time.
    int frames = 0, polls = 0;
    TTimer frame_clock, poll;
    frame_clock.SetInterval(40);
    frame_clock.OnTimer = [&](TObject*) { ++frames; };
    poll.SetInterval(1);
    poll.OnTimer = [&](TObject*) { ++polls; };
    EXPECT_TRUE(app.PumpUntil([&] { return frames == 2500; }, 200'000));
    EXPECT_EQ(clock.NowMs(), 100'000);
    EXPECT_EQ(polls, 100'000);
}

TEST(EventLoopReal, ThreadPostWakesTheRealClockLoop)
{
    TApplication app;  // real clock, no event source
    std::atomic<bool> started{false};
    bool got = false;
    std::thread poster([&] {
        while (!started) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        app.PostMessageFromThread([&] { got = true; });
    });
    app.PostMessage([&] { started = true; });
    app.RunUntil([&] { return got; });
    poster.join();
    EXPECT_TRUE(got);

    // A real timeout passes at least the time asked for.
    const int64_t start = app.Clock().NowUs();
    EXPECT_FALSE(app.PumpUntil([] { return false; }, 30));
    EXPECT_GE(app.Clock().NowUs() - start, 30'000);
}

TEST(TestApplicationFixture, InstallsAFreshApplicationAndRestoresThePrevious)
{
    TApplication* outer = &App();
    {
        core::TestApplication test_app;
        EXPECT_EQ(&App(), &test_app.App());
        EXPECT_TRUE(App().Clock().IsVirtual());
        EXPECT_EQ(App().Clock().NowUs(), 0);
        auto* owned = new TComponent(&App());
        owned->SetName("Form1");
        EXPECT_EQ(App().FindComponent("form1"), owned);
    }
    EXPECT_EQ(&App(), outer);
    EXPECT_FALSE(App().Clock().IsVirtual());
}

TEST(TestApplicationFixture, TimerOutlivingItsApplicationStops)
{
    std::unique_ptr<TTimer> survivor;
    {
        core::TestApplication test_app;
        survivor = std::make_unique<TTimer>();
        survivor->SetInterval(10);
        EXPECT_EQ(test_app.App().Timers().Count(), 1);
    }
    core::TestApplication next;
    EXPECT_EQ(next.App().Timers().Count(), 0);
    survivor->SetInterval(20);  // joins the current application
    EXPECT_EQ(next.App().Timers().Count(), 1);
    survivor.reset();
    EXPECT_EQ(next.App().Timers().Count(), 0);
}

}  // namespace
