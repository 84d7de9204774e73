#pragma once
// Time for the event loop: the real steady clock, or a virtual clock that
// tests move by hand (and that the loop jumps forward when it would wait).
#include <cstdint>

namespace core {

class Clock {
public:
    virtual ~Clock() = default;
    // Microseconds since an arbitrary fixed start.
    virtual int64_t NowUs() const = 0;
    int64_t NowMs() const { return NowUs() / 1000; }
    // A virtual clock never sleeps: the loop advances it to the next due timer.
    virtual bool IsVirtual() const { return false; }
};

class SteadyClock final : public Clock {
public:
    int64_t NowUs() const override;
};

class VirtualClock final : public Clock {
public:
    int64_t NowUs() const override { return now_us_; }
    bool IsVirtual() const override { return true; }
    void AdvanceUs(int64_t us) { now_us_ += us; }
    void AdvanceMs(int64_t ms) { now_us_ += ms * 1000; }
    void SetUs(int64_t us) { now_us_ = us; }

private:
    int64_t now_us_ = 0;
};

}  // namespace core
