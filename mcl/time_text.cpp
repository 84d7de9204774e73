#include "mcl/time_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mcl {

double EstimateRemaining(double elapsed, int64_t frames, int64_t totalFrames, int64_t samples,
                         int64_t totalSamples)
{
    double f = 0;
    if (totalFrames > 0) f = std::max(f, double(frames) / double(totalFrames));
    if (totalSamples > 0) f = std::max(f, double(samples) / double(totalSamples));
    if (!(f > 0) || !(elapsed > 0)) return 0;
    if (f >= 1) return 0;
    return elapsed * (1 - f) / f;
}

std::string TimeText(double seconds)
{
    long long whole = 0;
    if (seconds > 0 && std::isfinite(seconds)) whole = (long long)std::min(seconds, 3.6e15);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

}  // namespace mcl
