#include "platform/core/clock.h"

#include <chrono>

namespace core {

int64_t SteadyClock::NowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace core
