#include "platform/core/timer_queue.h"

#include <algorithm>

#include "platform/core/application.h"
#include "platform/core/timer.h"

namespace core {

TimerQueue::~TimerQueue()
{
    for (const Entry& e : entries_) e.timer->queue_ = nullptr;
}

int64_t TimerQueue::NowUs() const { return app_.Clock().NowUs(); }

void TimerQueue::Add(TTimer* timer)
{
    if (timer->queue_ == this) return;
    timer->queue_ = this;
    entries_.push_back({timer, next_serial_++});
}

void TimerQueue::Remove(TTimer* timer)
{
    if (timer->queue_ != this) return;
    timer->queue_ = nullptr;
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [timer](const Entry& e) { return e.timer == timer; }),
                   entries_.end());
}

bool TimerQueue::Contains(TTimer* timer, uint64_t serial) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.timer == timer && e.serial == serial; });
}

bool TimerQueue::FireDue(int64_t now_us)
{
    std::vector<Entry> due;
    for (const Entry& e : entries_)
        if (e.timer->DueUs() <= now_us && !e.timer->Running()) due.push_back(e);
    if (due.empty()) return false;
    std::stable_sort(due.begin(), due.end(),
                     [](const Entry& a, const Entry& b) { return a.timer->DueUs() < b.timer->DueUs(); });
    bool fired = false;
    for (const Entry& e : due) {
        // A handler run before this one may have freed, stopped, restarted
        // or (in a nested pass) already fired this timer.
        if (!Contains(e.timer, e.serial)) continue;
        if (e.timer->DueUs() > now_us || e.timer->Running()) continue;
        fired = true;
        try {
            e.timer->Fire();
        } catch (...) {
            app_.HandleException(std::current_exception());
        }
    }
    return fired;
}

int64_t TimerQueue::NextDueUs() const
{
    int64_t next = -1;
    for (const Entry& e : entries_) {
        if (e.timer->Running()) continue;
        if (next < 0 || e.timer->DueUs() < next) next = e.timer->DueUs();
    }
    return next;
}

bool TimerQueue::AnyDue(int64_t now_us) const
{
    int64_t next = NextDueUs();
    return next >= 0 && next <= now_us;
}

void TimerQueue::RestartAll()
{
    int64_t now = NowUs();
    for (const Entry& e : entries_)
        e.timer->due_us_ = now + static_cast<long long>(e.timer->interval_ms_) * 1000;
}

}  // namespace core
