#pragma once
// The one UI thread's event loop: posted messages, timers, outside events
// from a back end, nested modal loops and the exception barrier.
//
// One pass of the loop (ProcessMessages) polls the event source, runs the
// posted messages that are queued, and then, if no message is waiting, fires
// each due timer once. Waiting loops (PumpUntil, RunUntil, Run) repeat passes
// and, when nothing is ready, wait for the next due timer: on the real clock
// by sleeping (in EventSource::Wait when there is a source), on a virtual
// clock by moving the clock forward to it, so tests never sleep.
//
// Tests: core::TestApplication (below) installs a fresh application on a
// virtual clock for its lifetime.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/clock.h"
#include "platform/core/component.h"

namespace core {

// A back end (headless or SDL2) delivers outside events through this.
class EventSource {
public:
    virtual ~EventSource() = default;
    // Dispatch the outside events that are pending now; true if any were.
    virtual bool Poll() = 0;
    // Sleep until an outside event may be pending or the application's clock
    // (App().Clock()) reaches deadline_us (-1: no deadline). Never called
    // with a virtual clock.
    virtual void Wait(int64_t deadline_us) = 0;
    // Wake a Wait from another thread (PostMessageFromThread). A Wake that
    // comes before the Wait must make that Wait return at once.
    virtual void Wake() {}
};

class TimerQueue;  // owned by the application, used by TTimer

}  // namespace core

class TApplication : public TComponent {
public:
    using Message = std::function<void()>;

    TApplication();
    // Frees the owned components (forms) first, while the loop still exists.
    ~TApplication() override;

    // Posted messages run in order, before any due timer.
    void PostMessage(Message message);
    // The one call that other threads may make: the message runs on the UI thread.
    void PostMessageFromThread(Message message);

    // Runs everything that is ready now (outside events, posted messages,
    // due timers) and returns; re-entrant from any handler.
    void ProcessMessages();
    // Runs until done() is true (returns true) or timeout_ms passes on the
    // loop's clock (returns false). With a virtual clock the wait jumps
    // the clock from one due timer to the next (and, should posted messages
    // keep the loop busy without time moving, jumps to the timeout after a
    // million passes). Returns false at once when the application is
    // terminated.
    bool PumpUntil(const std::function<bool()>& done, int64_t timeout_ms);
    // Runs until done() is true or Terminate() is called; used by modal forms.
    void RunUntil(const std::function<bool()>& done);
    // The main loop: until Terminate().
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    core::Clock& Clock() const { return *clock_; }
    // nullptr restores the real clock. The clock is not owned. Enabled
    // timers restart their period on the new clock.
    void SetClock(core::Clock* clock);
    // nullptr: no outside events (plain tests). Not owned.
    void SetEventSource(core::EventSource* source);
    core::EventSource* EventSource() const { return source_.load(); }

    // Exception barrier: an exception out of a handler is reported here and
    // the loop goes on. The default prints to stderr; the UI layer routes it
    // to the message box.
    std::function<void(const std::string& message)> OnException;
    void HandleException(std::exception_ptr error);

    core::TimerQueue& Timers() { return *timers_; }

private:
    bool RunReady();  // one pass; true if anything ran
    bool HasReady();  // a posted message or a due timer waits
    // Waits until deadline_us (-1: none) or until something may be ready.
    void Idle(int64_t deadline_us);

    core::Clock* clock_;
    // Read by other threads when they wake the loop.
    std::atomic<core::EventSource*> source_{nullptr};
    std::unique_ptr<core::TimerQueue> timers_;
    bool terminated_ = false;
    struct Queue;
    std::unique_ptr<Queue> queue_;
};

// The application object: the installed one, else a default created on
// first use (and freed at exit).
TApplication& App();

namespace core {

// Makes `app` the application that App() returns (nullptr: back to the
// default) and returns the one installed before. Not owned.
TApplication* InstallApplication(TApplication* app);

// For tests: a fresh application on a virtual clock standing at 0, installed
// as App() for the object's lifetime; the previous application comes back
// afterwards. Components owned by App() are freed with it; timers enabled
// under it stop with it. Make it the first member of a test fixture.
class TestApplication {
public:
    TestApplication();
    ~TestApplication();
    TestApplication(const TestApplication&) = delete;
    TestApplication& operator=(const TestApplication&) = delete;

    TApplication& App() { return *app_; }
    VirtualClock& Clock() { return clock_; }
    // Lets ms of virtual time pass with the loop running: every timer due
    // in that span fires at its time.
    void RunForMs(int64_t ms);

private:
    VirtualClock clock_;
    std::unique_ptr<TApplication> app_;
    TApplication* previous_ = nullptr;
};

}  // namespace core
