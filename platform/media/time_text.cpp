#include "platform/media/time_text.h"

#include <cmath>
#include <cstdio>

namespace media {

std::string TimeText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    if (seconds > 1e12) seconds = 1e12;
    // Whole microseconds first, so 2.9999999 from a sum of frame times
    // still reads as 3 seconds.
    const long long whole = std::llround(seconds * 1e6) / 1000000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", whole / 60, whole % 60);
    return text;
}

}  // namespace media
