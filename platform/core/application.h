#pragma once
// The one UI thread's event loop: posted messages, timers, outside events
// from a back end, nested modal loops and the exception barrier.
#include <cstdint>
#include <exception>
#include <functional>
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
    // Sleep until an outside event may be pending or the clock reaches
    // deadline_us (-1: no deadline). Never called with a virtual clock.
    virtual void Wait(int64_t deadline_us) = 0;
    // Wake a Wait from another thread (PostMessageFromThread).
    virtual void Wake() {}
};

class TimerQueue;  // owned by the application, used by TTimer

}  // namespace core

class TApplication : public TComponent {
public:
    using Message = std::function<void()>;

    TApplication();
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
    // the clock from one due timer to the next.
    bool PumpUntil(const std::function<bool()>& done, int64_t timeout_ms);
    // Runs until done() is true or Terminate() is called; used by modal forms.
    void RunUntil(const std::function<bool()>& done);
    // The main loop: until Terminate().
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    core::Clock& Clock() const { return *clock_; }
    // nullptr restores the real clock. The clock is not owned.
    void SetClock(core::Clock* clock);
    // nullptr: no outside events (plain tests). Not owned.
    void SetEventSource(core::EventSource* source);
    core::EventSource* EventSource() const { return source_; }

    // Exception barrier: an exception out of a handler is reported here and
    // the loop goes on. The default prints to stderr; the UI layer routes it
    // to the message box.
    std::function<void(const std::string& message)> OnException;
    void HandleException(std::exception_ptr error);

    core::TimerQueue& Timers() { return *timers_; }

private:
    bool RunReady();  // one pass; true if anything ran
    void Idle(int64_t deadline_us);

    core::Clock* clock_;
    core::EventSource* source_ = nullptr;
    core::TimerQueue* timers_;
    bool terminated_ = false;
    struct Queue;
    Queue* queue_;
};

// The application object, created on first use.
TApplication& App();
