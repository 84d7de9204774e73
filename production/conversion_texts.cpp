#include "production/conversion_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace production {

std::string TotalFramesLine(int64_t frames) { return "Total frames:  " + std::to_string(frames); }

std::string TotalSamplesLine(int64_t samples) { return "Total samples: " + std::to_string(samples); }

ProgressTime ProgressTimeFor(int code)
{
    if (code == 0) return ProgressTime::Elapsed;
    if (code == 3) return ProgressTime::Remaining;
    return ProgressTime::None;
}

std::string ProgressLine(int code, int64_t frame, int64_t sample, std::string_view timeText)
{
    switch (code) {
    case 0: return "Processing time: " + std::string(timeText);
    case 1: return "Preparing conversion...";
    case 2: return "Reducing colors, done frames: " + std::to_string(frame);
    case 3:
        return "Frame: " + std::to_string(frame) + ", Sample: " + std::to_string(sample) +
               ", Time Left: " + std::string(timeText);
    default: return std::string(kUnrecognizedStatus);
    }
}

std::string EncoderErrorLine(int code, std::string_view text)
{
    if (!text.empty()) return std::string(text);
    return "Encoder error " + std::to_string(code);
}

std::string TimeText(double seconds)
{
    // Far beyond any album; keeps the conversion to an integer defined.
    constexpr double kLimit = 1e12;
    const int64_t whole = (seconds > 0.0) ? static_cast<int64_t>(std::min(seconds, kLimit)) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02d:%02d", static_cast<long long>(whole / 3600),
                  static_cast<int>(whole / 60 % 60), static_cast<int>(whole % 60));
    return text;
}

double RemainingSeconds(double elapsedSeconds, int64_t framesDone, int64_t framesTotal)
{
    if (framesDone <= 0 || framesTotal <= framesDone || !(elapsedSeconds > 0.0)) return 0.0;
    return elapsedSeconds * static_cast<double>(framesTotal - framesDone) / static_cast<double>(framesDone);
}

std::string RemainingTimeText(double elapsedSeconds, int64_t framesDone, int64_t framesTotal)
{
    return TimeText(RemainingSeconds(elapsedSeconds, framesDone, framesTotal));
}

}  // namespace production
