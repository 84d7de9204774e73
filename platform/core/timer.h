#pragma once
// TTimer: fires OnTimer on the UI thread every Interval ms while Enabled.
// The first tick comes one interval after enabling; late ticks coalesce (no
// catch-up burst); a handler that is still running is never re-entered. The
// one-shot idiom is a handler that disables its own timer. A handler may
// also destroy its own timer. An Interval of 0 never fires.
//
// An enabled timer belongs to the timer queue of the application that was
// current (App()) when it was enabled.
#include "platform/core/component.h"

namespace core {
class TimerQueue;
}

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner = nullptr);
    ~TTimer() override;

    int Interval() const { return interval_ms_; }
    void SetInterval(int ms);  // restarts the period when enabled
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);  // enabling restarts the period

    TNotifyEvent OnTimer;

    // Called by the timer queue: runs OnTimer once, unless it is running.
    void Fire();
    long long DueUs() const { return due_us_; }
    bool Running() const { return running_; }

private:
    friend class core::TimerQueue;
    void Schedule();

    int interval_ms_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    long long due_us_ = 0;
    core::TimerQueue* queue_ = nullptr;  // set while scheduled
    bool* destroyed_flag_ = nullptr;     // set while Fire runs the handler
};
