#include "platform/core/timer.h"

#include "platform/core/application.h"
#include "platform/core/timer_queue.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { Schedule(); }

TTimer::~TTimer()
{
    if (queue_) queue_->Remove(this);
    if (destroyed_flag_) *destroyed_flag_ = true;
}

void TTimer::SetInterval(int ms)
{
    if (ms < 0) ms = 0;
    if (ms == interval_ms_) return;
    interval_ms_ = ms;
    Schedule();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Schedule();
}

// Puts the timer into the current application's queue with a fresh period,
// or takes it out.
void TTimer::Schedule()
{
    if (!enabled_ || interval_ms_ == 0) {
        if (queue_) queue_->Remove(this);
        return;
    }
    core::TimerQueue* queue = &App().Timers();
    if (queue_ && queue_ != queue) queue_->Remove(this);
    due_us_ = queue->NowUs() + static_cast<long long>(interval_ms_) * 1000;
    if (queue_ != queue) queue->Add(this);
}

void TTimer::Fire()
{
    if (running_ || !queue_) return;
    // Coalesced: whatever the delay, the next tick is one period from now.
    due_us_ = queue_->NowUs() + static_cast<long long>(interval_ms_) * 1000;
    if (!OnTimer) return;

    // The handler may disable, re-enable or destroy this timer, and may
    // reassign OnTimer: run a copy and touch nothing after a destruction.
    TNotifyEvent handler = OnTimer;
    bool destroyed = false;
    bool* outer_flag = destroyed_flag_;
    destroyed_flag_ = &destroyed;
    running_ = true;
    struct Restore {
        TTimer* self;
        bool& destroyed;
        bool* outer_flag;
        ~Restore()
        {
            if (destroyed) {
                if (outer_flag) *outer_flag = true;
                return;
            }
            self->running_ = false;
            self->destroyed_flag_ = outer_flag;
        }
    } restore{this, destroyed, outer_flag};
    handler(this);
}
