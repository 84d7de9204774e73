#pragma once
// The application's enabled timers, fired by the event loop.
#include <cstdint>
#include <vector>

class TApplication;
class TTimer;

namespace core {

class TimerQueue {
public:
    explicit TimerQueue(TApplication& app) : app_(app) {}
    ~TimerQueue();  // the timers still queued stop
    TimerQueue(const TimerQueue&) = delete;
    TimerQueue& operator=(const TimerQueue&) = delete;

    TApplication& Application() const { return app_; }
    int64_t NowUs() const;

    void Add(TTimer* timer);  // keeps its due time
    void Remove(TTimer* timer);
    // Fires once each timer due at now_us that is not running, earliest
    // first; true if any fired. Exceptions go to the application's barrier.
    bool FireDue(int64_t now_us);
    // The earliest due time of the timers not running; -1 when none.
    int64_t NextDueUs() const;
    bool AnyDue(int64_t now_us) const;
    // Every queued timer starts its period again from now (new clock).
    void RestartAll();
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        TTimer* timer;
        uint64_t serial;  // tells a re-added timer from a stale snapshot
    };
    bool Contains(TTimer* timer, uint64_t serial) const;

    TApplication& app_;
    std::vector<Entry> entries_;
    uint64_t next_serial_ = 1;
};

}  // namespace core
