#pragma once
// TTimer: fires OnTimer on the UI thread every Interval ms while Enabled.
// The first tick comes one interval after enabling; late ticks coalesce (no
// catch-up burst); a handler that is still running is never re-entered. The
// one-shot idiom is a handler that disables its own timer.
#include "platform/core/component.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner = nullptr);
    ~TTimer() override;

    int Interval() const { return interval_ms_; }
    void SetInterval(int ms);  // restarts the period when enabled
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);  // enabling restarts the period

    TNotifyEvent OnTimer;

    // Called by the timer queue.
    void Fire();
    long long DueUs() const { return due_us_; }

private:
    void Schedule();
    int interval_ms_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    long long due_us_ = 0;
};
