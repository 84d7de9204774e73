#include "app/time_text.h"

#include <cmath>
#include <cstdint>

namespace app {

namespace {

// Whole seconds, truncated toward zero; clamped so that the conversion to
// an integer stays defined for absurd inputs.
int64_t WholeSeconds(double seconds)
{
    if (!(seconds > 0.0)) return 0;
    constexpr double kMaxSeconds = 9.0e15;
    if (seconds >= kMaxSeconds) return static_cast<int64_t>(kMaxSeconds);
    return static_cast<int64_t>(std::trunc(seconds));
}

TimeText FromWholeSeconds(int64_t total)
{
    const int64_t minutes = total / 60;
    return TimeText{TwoDigitText(minutes / 60), TwoDigitText(minutes % 60), TwoDigitText(total % 60)};
}

}  // namespace

std::string TwoDigitText(long long value)
{
    std::string digits = std::to_string(value);
    return value >= 0 && value < 10 ? "0" + digits : digits;
}

TimeText FramesToTimeText(double frames)
{
    // frames / 25 rather than frames * 0.04: the division is exact for whole
    // multiples of 25 frames, so 75 frames are 3 s and never 2.999... s.
    return FromWholeSeconds(WholeSeconds(frames / 25.0));
}

TimeText SecondsToTimeText(double seconds) { return FromWholeSeconds(WholeSeconds(seconds)); }

}  // namespace app
