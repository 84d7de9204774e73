// Remaining time and the "hh:mm:ss" time text.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

// elapsed * (1 - f) / f with f the larger of the frame and sample fractions;
// 0 when no fraction is known yet or the work is done.
double EstimateRemaining(double elapsed, int64_t frames, int64_t totalFrames, int64_t samples,
                         int64_t totalSamples);

// Whole seconds as "hh:mm:ss"; negative or not-a-number gives "00:00:00".
std::string TimeText(double seconds);

}  // namespace mcl
