#include "platform/core/application.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <mutex>

#include "platform/core/timer_queue.h"

namespace {

core::SteadyClock& RealClock()
{
    static core::SteadyClock clock;
    return clock;
}

// With a virtual clock and nothing scheduled, only another thread can bring
// work; wait for it in short real-time slices.
constexpr auto kVirtualIdleSlice = std::chrono::milliseconds(10);

}  // namespace

struct TApplication::Queue {
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<Message> messages;
};

TApplication::TApplication()
    : clock_(&RealClock()),
      timers_(std::make_unique<core::TimerQueue>(*this)),
      queue_(std::make_unique<Queue>())
{}

TApplication::~TApplication()
{
    // Forms and their timers go while the queue and the clock still exist.
    DestroyComponents();
    timers_.reset();
}

void TApplication::PostMessage(Message message)
{
    std::lock_guard lock(queue_->mutex);
    queue_->messages.push_back(std::move(message));
}

void TApplication::PostMessageFromThread(Message message)
{
    {
        std::lock_guard lock(queue_->mutex);
        queue_->messages.push_back(std::move(message));
    }
    queue_->posted.notify_all();
    if (core::EventSource* source = source_.load()) source->Wake();
}

void TApplication::SetClock(core::Clock* clock)
{
    clock_ = clock ? clock : &RealClock();
    timers_->RestartAll();
}

void TApplication::SetEventSource(core::EventSource* source) { source_ = source; }

void TApplication::Terminate() { terminated_ = true; }

void TApplication::HandleException(std::exception_ptr error)
{
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Unknown error";
    }
    if (OnException) {
        try {
            OnException(text);
            return;
        } catch (...) {
            // The reporter itself failed: fall back to stderr.
        }
    }
    std::cerr << "velmora: " << text << std::endl;
}

bool TApplication::RunReady()
{
    bool ran = false;
    if (core::EventSource* source = source_.load()) {
        try {
            ran = source->Poll();
        } catch (...) {
            HandleException(std::current_exception());
            ran = true;
        }
    }

    // The messages queued now; those they post wait for the next pass.
    size_t count;
    {
        std::lock_guard lock(queue_->mutex);
        count = queue_->messages.size();
    }
    for (size_t i = 0; i < count; ++i) {
        Message message;
        {
            std::lock_guard lock(queue_->mutex);
            if (queue_->messages.empty()) break;
            message = std::move(queue_->messages.front());
            queue_->messages.pop_front();
        }
        ran = true;
        try {
            if (message) message();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }

    // Timers come only when no posted message waits.
    {
        std::lock_guard lock(queue_->mutex);
        if (!queue_->messages.empty()) return ran;
    }
    if (timers_->FireDue(clock_->NowUs())) ran = true;
    return ran;
}

bool TApplication::HasReady()
{
    {
        std::lock_guard lock(queue_->mutex);
        if (!queue_->messages.empty()) return true;
    }
    return timers_->AnyDue(clock_->NowUs());
}

void TApplication::ProcessMessages() { RunReady(); }

void TApplication::Idle(int64_t deadline_us)
{
    int64_t next = timers_->NextDueUs();
    if (deadline_us >= 0 && (next < 0 || deadline_us < next)) next = deadline_us;
    int64_t now = clock_->NowUs();

    if (clock_->IsVirtual()) {
        auto* virtual_clock = static_cast<core::VirtualClock*>(clock_);
        if (next >= 0) {
            if (next > now) virtual_clock->SetUs(next);
            return;
        }
        std::unique_lock lock(queue_->mutex);
        queue_->posted.wait_for(lock, kVirtualIdleSlice, [this] { return !queue_->messages.empty(); });
        return;
    }

    if (next >= 0 && next <= now) return;
    if (core::EventSource* source = source_.load()) {
        source->Wait(next);
        return;
    }
    std::unique_lock lock(queue_->mutex);
    auto ready = [this] { return !queue_->messages.empty(); };
    if (next < 0)
        queue_->posted.wait(lock, ready);
    else
        queue_->posted.wait_for(lock, std::chrono::microseconds(next - now), ready);
}

bool TApplication::PumpUntil(const std::function<bool()>& done, int64_t timeout_ms)
{
    const int64_t deadline = clock_->NowUs() + (timeout_ms > 0 ? timeout_ms * 1000 : 0);
    // On a virtual clock, messages that keep posting themselves would stop
    // time; after this many passes without time moving the wait times out.
    constexpr int kMaxPassesWithoutTime = 1'000'000;
    int passes_without_time = 0;
    for (;;) {
        if (done()) return true;
        if (terminated_) return false;
        const int64_t before = clock_->NowUs();
        RunReady();
        if (done()) return true;
        if (terminated_) return false;
        if (clock_->NowUs() >= deadline) return false;
        if (!HasReady()) Idle(deadline);
        if (clock_->IsVirtual() && clock_->NowUs() == before &&
            ++passes_without_time >= kMaxPassesWithoutTime) {
            static_cast<core::VirtualClock*>(clock_)->SetUs(deadline);
            return false;
        }
        if (clock_->NowUs() != before) passes_without_time = 0;
    }
}

void TApplication::RunUntil(const std::function<bool()>& done)
{
    for (;;) {
        if (done() || terminated_) return;
        RunReady();
        if (done() || terminated_) return;
        if (!HasReady()) Idle(-1);
    }
}

void TApplication::Run()
{
    RunUntil([] { return false; });
}

// The installed application, or the default one.
namespace {

TApplication* installed = nullptr;

}  // namespace

TApplication& App()
{
    if (installed) return *installed;
    static std::unique_ptr<TApplication> fallback = std::make_unique<TApplication>();
    return *fallback;
}

namespace core {

TApplication* InstallApplication(TApplication* app)
{
    TApplication* previous = installed;
    installed = app;
    return previous;
}

TestApplication::TestApplication() : app_(std::make_unique<TApplication>())
{
    app_->SetClock(&clock_);
    previous_ = InstallApplication(app_.get());
}

TestApplication::~TestApplication()
{
    // Freed while still installed, so that dying components see their own loop.
    app_.reset();
    InstallApplication(previous_);
}

void TestApplication::RunForMs(int64_t ms)
{
    app_->PumpUntil([] { return false; }, ms);
}

}  // namespace core
